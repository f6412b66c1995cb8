#include "controls/CXGroupBox.h"

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <QWidget>

#include "platform/DataExchange.h"
#include "platform/PropertyPage.h"
#include "platform/SysColor.h"
#include "platform/qt/QtColor.h"
#include "platform/qt/QtFont.h"
#include "platform/qt/QtPainter.h"
#include "platform/qt/QtText.h"
#include "platform/qt/WindowAccess.h"
#include "tests/controls/ShownDialog.h"

namespace {

using ui::RGB;

constexpr ui::COLORREF kFrame = RGB(44, 162, 162);
constexpr ui::COLORREF kBack = RGB(250, 240, 200);
constexpr ui::COLORREF kPageColor = RGB(200, 220, 255);

class BoxPage : public ui::PropertyPage {
public:
    BoxPage() : ui::PropertyPage(107) {}
    CXGroupBox m_open;    // 1006, open at the bottom
    CXGroupBox m_closed;  // 1022, a closed rectangle

protected:
    void DoDataExchange(ui::DataExchange& dx) override {
        ui::DDX_Control(dx, 1006, m_open);
        ui::DDX_Control(dx, 1022, m_closed);
    }
};

// The 200 x 60 pixel box of the worked example: a title of 90 x 13 pixels,
// centred, on a page whose background differs from the box's own.
void SetUpExample(BoxPage& page, CXGroupBox& box, int frameStyle) {
    QWidget* pageWidget = ui::QWidgetOf(page);
    QPalette palette = pageWidget->palette();
    palette.setColor(QPalette::Window, ui::ToQColor(kPageColor));
    pageWidget->setPalette(palette);
    pageWidget->setAutoFillBackground(true);
    box.MoveWindow(10, 10, 200, 60);
    box.m_titleSize = {90, 13};
    box.m_titleAlign = 1;
    box.m_doubleLine = false;
    box.m_lineWidth = 1;
    box.m_frameStyle = frameStyle;
    box.m_frameColor = kFrame;
    box.m_backColor = kBack;
}

QImage PaintBox(CXGroupBox& box) {
    QImage image(200, 60, QImage::Format_ARGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    ui::QtPainter target(painter);
    box.Paint(target.Get(), {0, 0, 200, 60});
    return image;
}

ui::COLORREF At(const QImage& image, int x, int y) {
    return ui::FromQColor(image.pixelColor(x, y));
}

void ExpectExampleTopAndSides(const QImage& image) {
    for (int x : {0, 1, 30, 51, 148, 170, 199})
        EXPECT_EQ(At(image, x, 6), kFrame) << "top line at x " << x;
    for (int x : {52, 53, 54, 146, 147})
        EXPECT_EQ(At(image, x, 6), kBack) << "title gap at x " << x;
    for (int y : {12, 30, 58}) {
        EXPECT_EQ(At(image, 0, y), kFrame) << "left side at y " << y;
        EXPECT_EQ(At(image, 199, y), kFrame) << "right side at y " << y;
        EXPECT_EQ(At(image, 198, y), kPageColor) << "inside the right side at y " << y;
    }
    // Above the line the title row is the box's colour; from y = 12 on the
    // inside is the page's picture.
    EXPECT_EQ(At(image, 20, 3), kBack);
    EXPECT_EQ(At(image, 20, 11), kBack);
    EXPECT_EQ(At(image, 20, 12), kPageColor);
    EXPECT_EQ(At(image, 100, 30), kPageColor);
}

bool TitleHasInk(const QImage& image) {
    for (int y = 0; y < 13; ++y) {
        for (int x = 55; x < 145; ++x) {
            if (At(image, x, y) != kBack && At(image, x, y) != kFrame) return true;
        }
    }
    return false;
}

TEST(CXGroupBox, OpenBoxOfTheWorkedExampleHasItsLinesGapAndNoBottomLine) {
    BoxPage page;
    tarnel::test::WhileShownInMainDialog(page, [&] {
        SetUpExample(page, page.m_open, 2);
        const QImage image = PaintBox(page.m_open);
        EXPECT_EQ(page.m_open.m_headerHalf, 6);
        ExpectExampleTopAndSides(image);
        for (int x : {1, 100, 198})
            EXPECT_EQ(At(image, x, 59), kPageColor) << "no bottom line at x " << x;
        EXPECT_TRUE(TitleHasInk(image));
    });
}

TEST(CXGroupBox, ClosedBoxHasABottomLine) {
    BoxPage page;
    tarnel::test::WhileShownInMainDialog(page, [&] {
        SetUpExample(page, page.m_closed, 0);
        const QImage image = PaintBox(page.m_closed);
        ExpectExampleTopAndSides(image);
        for (int x : {0, 1, 100, 198, 199})
            EXPECT_EQ(At(image, x, 59), kFrame) << "bottom line at x " << x;
        EXPECT_EQ(At(image, 100, 58), kPageColor);
    });
}

TEST(CXGroupBox, PaintsThroughTheWindowLikeThroughPaint) {
    BoxPage page;
    tarnel::test::WhileShownInMainDialog(page, [&] {
        SetUpExample(page, page.m_open, 2);
        const QImage grabbed = ui::QWidgetOf(page.m_open)->grab().toImage();
        ASSERT_EQ(grabbed.size(), QSize(200, 60));
        ExpectExampleTopAndSides(grabbed);
        EXPECT_EQ(At(grabbed, 100, 59), kPageColor);
    });
}

TEST(CXGroupBox, EmptyTitleGivesAnUnbrokenTopLineOnTheTopEdge) {
    BoxPage page;
    tarnel::test::WhileShownInMainDialog(page, [&] {
        SetUpExample(page, page.m_open, 2);
        page.m_open.SetWindowText(u"");
        page.m_open.m_titleSize = {0, 0};
        const QImage image = PaintBox(page.m_open);
        EXPECT_EQ(page.m_open.m_titleSize.cx, 0);
        EXPECT_EQ(page.m_open.m_headerHalf, 0);
        for (int x = 0; x < 200; ++x)
            ASSERT_EQ(At(image, x, 0), kFrame) << x;
        EXPECT_EQ(At(image, 100, 1), kPageColor);
    });
}

TEST(CXGroupBox, TitleIsMeasuredOnceUntilTheWidthIsCleared) {
    BoxPage page;
    tarnel::test::WhileShownInMainDialog(page, [&] {
        CXGroupBox& box = page.m_open;
        SetUpExample(page, box, 2);
        box.m_titleSize = {0, 0};
        box.SetWindowText(u"[ A ]");
        PaintBox(box);
        const QFontMetrics metrics(ui::ToQFont(box.m_titleFont));
        EXPECT_EQ(box.m_titleSize.cx, metrics.horizontalAdvance(QStringLiteral("[ A ]")));
        EXPECT_EQ(box.m_titleSize.cy, metrics.height());
        const int shortWidth = box.m_titleSize.cx;

        box.SetWindowText(u"[ A much longer title ]");
        PaintBox(box);
        EXPECT_EQ(box.m_titleSize.cx, shortWidth);

        box.m_titleSize.cx = 0;
        PaintBox(box);
        EXPECT_EQ(box.m_titleSize.cx, metrics.horizontalAdvance(QStringLiteral("[ A much longer title ]")));
        EXPECT_GT(box.m_titleSize.cx, shortWidth);
    });
}

TEST(CXGroupBox, TakesTheControlsFontAndTheSystemColoursWhenAttached) {
    BoxPage page;
    tarnel::test::WhileShownInMainDialog(page, [&] {
        EXPECT_EQ(page.m_open.m_titleFont, page.m_open.GetFont());
        EXPECT_EQ(page.m_open.m_titleColor, ui::GetSysColor(ui::COLOR_BTNTEXT));
        EXPECT_EQ(page.m_open.m_backColor, ui::GetSysColor(ui::COLOR_BTNFACE));
        EXPECT_EQ(page.m_open.m_frameColor, CXGroupBox::kShadowColor);
        EXPECT_EQ(page.m_open.GetWindowText(), u"[ Device information ]");
    });
}

}  // namespace
