#include "controls/GdiplusImgCtrl.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>
#include <cstdint>
#include <vector>

#include "platform/DataExchange.h"
#include "platform/Dialog.h"
#include "platform/SysColor.h"
#include "platform/qt/QtColor.h"
#include "platform/qt/WindowAccess.h"
#include "res/ResourceTypes.h"
#include "tests/controls/ShownDialog.h"

namespace {

class LogoBox : public ui::Dialog {
public:
    LogoBox() : ui::Dialog(100) {}
    GdiplusImgCtrl m_logo;

protected:
    void DoDataExchange(ui::DataExchange& dx) override { ui::DDX_Control(dx, 1090, m_logo); }
};

QImage Logo() {
    auto png = res::FindBinary("PNG", 131);
    return QImage::fromData(png.data(), static_cast<int>(png.size()), "PNG");
}

QImage Grab(GdiplusImgCtrl& control) {
    return ui::QWidgetOf(control)->grab().toImage();
}

bool Near(const QColor& a, const QColor& b, int tolerance) {
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

TEST(GdiplusImgCtrl, WithoutAWindowLoadingFails) {
    GdiplusImgCtrl control;
    EXPECT_EQ(control.LoadPngResource(), -1);
    EXPECT_FALSE(control.HasImage());
}

TEST(GdiplusImgCtrl, LoadResultsForTheResourceNoBytesAndUndecodableBytes) {
    LogoBox box;
    tarnel::test::WhileShown(box, [&] {
        EXPECT_EQ(box.m_logo.LoadPng({}), -1);
        EXPECT_FALSE(box.m_logo.HasImage());

        EXPECT_EQ(box.m_logo.LoadPngResource(), 0);
        EXPECT_TRUE(box.m_logo.HasUsableImage());

        EXPECT_EQ(box.m_logo.LoadPng({}), -1);
        EXPECT_TRUE(box.m_logo.HasUsableImage()) << "a failed load before decoding keeps the image";

        const std::vector<std::uint8_t> truncated(res::FindBinary("PNG", 131).begin(),
                                                  res::FindBinary("PNG", 131).begin() + 40);
        EXPECT_EQ(box.m_logo.LoadPng(truncated), -2);
        EXPECT_TRUE(box.m_logo.HasImage());
        EXPECT_FALSE(box.m_logo.HasUsableImage());

        box.m_logo.MoveWindow(0, 0, 64, 16);
        const QImage shown = Grab(box.m_logo);
        const QColor face = ui::ToQColor(ui::GetSysColor(ui::COLOR_BTNFACE));
        for (int x : {0, 31, 63})
            EXPECT_EQ(shown.pixelColor(x, 8), face) << "an unusable image shows the face";
    });
    EXPECT_FALSE(box.m_logo.HasImage()) << "the image goes with the window";
}

// Points of the logo in its own pixels: inside the white letter of the round
// emblem, in its teal ring, and white background at the right end.
struct LogoPoint {
    int x, y;
    bool white;
};
constexpr LogoPoint kPoints[] = {{19, 20, true}, {8, 19, false}, {250, 3, true}, {120, 34, true}};

TEST(GdiplusImgCtrl, LogoIsStretchedToTheControlWithWhiteShowingTheButtonFace) {
    const QImage logo = Logo();
    ASSERT_EQ(logo.size(), QSize(256, 38));
    for (const LogoPoint& p : kPoints) {
        ASSERT_EQ(logo.pixelColor(p.x, p.y) == QColor(Qt::white), p.white) << p.x << "," << p.y;
    }
    LogoBox box;
    tarnel::test::WhileShown(box, [&] {
        ASSERT_EQ(box.m_logo.LoadPngResource(), 0);
        const QColor face = ui::ToQColor(ui::GetSysColor(ui::COLOR_BTNFACE));
        ASSERT_NE(face, QColor(Qt::white));
        for (int scale : {1, 2, 3}) {
            box.m_logo.MoveWindow(0, 0, 256 * scale, 38 * scale);
            const QImage shown = Grab(box.m_logo);
            ASSERT_EQ(shown.size(), QSize(256 * scale, 38 * scale));
            for (const LogoPoint& p : kPoints) {
                const QColor seen = shown.pixelColor(p.x * scale + scale / 2, p.y * scale + scale / 2);
                const QColor expected = p.white ? face : logo.pixelColor(p.x, p.y);
                EXPECT_TRUE(Near(seen, expected, 8))
                    << "scale " << scale << " at " << p.x << "," << p.y << ": " << seen.name().toStdString();
            }
        }
        box.m_logo.MoveWindow(0, 0, 95, 14);
        const QImage small = Grab(box.m_logo);
        EXPECT_EQ(small.size(), QSize(95, 14));
        EXPECT_TRUE(Near(small.pixelColor(93, 1), face, 8)) << "the white corner shows the face when shrunk";
    });
}

}  // namespace
