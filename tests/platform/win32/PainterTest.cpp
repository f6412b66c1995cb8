#include "platform/win32/Win32.h"
// After the Windows headers: see platform/win32/Win32.h.
#include "platform/Painter.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "platform/DataExchange.h"
#include "platform/Dialog.h"
#include "platform/Static.h"
#include "platform/TestHooks.h"
#include "platform/win32/Win32Painter.h"
#include "platform/win32/WindowAccess.h"
#include "tests/platform/TestTemplates.h"
#include "tests/support/ModalRecorder.h"

namespace {

constexpr COLORREF kGround = RGB(255, 255, 255);
constexpr COLORREF kInk = RGB(200, 10, 40);

// A 32-bit picture with a painter on it, whose pixels the test reads.
class Surface {
public:
    Surface(int width, int height) : m_width(width), m_dc(CreateCompatibleDC(nullptr)), m_impl{m_dc} {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        m_bitmap =
            CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&m_bits), nullptr, 0);
        m_old = SelectObject(m_dc, m_bitmap);
    }
    ~Surface() {
        SelectObject(m_dc, m_old);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    ui::Painter& Painter() { return m_painter; }
    // As a COLORREF (0x00BBGGRR).
    COLORREF At(int x, int y) const {
        GdiFlush();
        const std::uint32_t bgra = m_bits[y * m_width + x];
        return RGB((bgra >> 16) & 0xFF, (bgra >> 8) & 0xFF, bgra & 0xFF);
    }

private:
    int m_width;
    HDC m_dc;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
    std::uint32_t* m_bits = nullptr;
    ui::Painter::Impl m_impl;
    ui::Painter m_painter{m_impl};
};

TEST(PainterTest, FillsFramesAndLinesCoverExactlyTheirPixelsThroughACanvas) {
    Surface surface(30, 20);
    surface.Painter().FillRect({0, 0, 30, 20}, kGround);
    ui::Canvas canvas(12, 10, RGB(0, 0, 255));
    canvas.GetPainter().FrameRect({0, 0, 12, 10}, kInk, 2);
    canvas.GetPainter().DrawLine(3, 4, 8, 4, RGB(0, 128, 0), 1);
    canvas.CopyTo(surface.Painter(), 5, 5);

    EXPECT_EQ(surface.At(4, 5), kGround) << "left of the canvas";
    EXPECT_EQ(surface.At(5, 5), kInk);
    EXPECT_EQ(surface.At(6, 6), kInk) << "the frame is two pixels wide";
    EXPECT_EQ(surface.At(7, 7), RGB(0, 0, 255)) << "the inside keeps the canvas's fill";
    EXPECT_EQ(surface.At(16, 14), kInk) << "right and bottom are exclusive";
    EXPECT_EQ(surface.At(17, 14), kGround);
    EXPECT_EQ(surface.At(5 + 3, 5 + 4), RGB(0, 128, 0));
    EXPECT_EQ(surface.At(5 + 8, 5 + 4), RGB(0, 128, 0)) << "both end points are drawn";
    EXPECT_EQ(surface.At(5 + 9, 5 + 4), RGB(0, 0, 255));
}

// What a group box shows through it: the dialog's own face, not the edit
// field that lies in the part copied.
TEST(PainterTest, AWindowsBackgroundLeavesOutItsChildrenAndLandsWhereAsked) {
    ui::Dialog dialog(platform_test::kModal);
    ui::test::ModalRecorder modal([](ui::Dialog& d) {
        ui::RECT edit;
        d.GetDlgItem(11)->GetWindowRect(edit);
        d.ScreenToClient(edit);
        Surface surface(edit.Width() + 4, edit.Height() + 4);
        surface.Painter().FillRect({0, 0, edit.Width() + 4, edit.Height() + 4}, kGround);
        surface.Painter().DrawWindowBackground(d, edit, 2, 2);
        EXPECT_EQ(surface.At(1, 1), kGround) << "outside the place asked for";
        EXPECT_EQ(surface.At(2, 2), GetSysColor(COLOR_BTNFACE));
        EXPECT_EQ(surface.At(edit.Width() / 2, edit.Height() / 2), GetSysColor(COLOR_BTNFACE));
        EXPECT_EQ(surface.At(edit.Width() + 2, edit.Height() + 2), kGround);
        d.EndDialog(0);
    });
    ASSERT_EQ(dialog.DoModal(), 0);
}

// A control that paints itself all over in one colour.
class Filler : public ui::Static {
public:
    explicit Filler(COLORREF color) : m_color(color) { MapPaint(&Filler::OnPaint); }

private:
    void OnPaint(ui::Painter& painter) {
        ui::RECT client;
        GetClientRect(client);
        painter.FillRect(client, m_color);
    }
    COLORREF m_color;
};

// Stacked as the configurator page stacks its group boxes: 71 comes later
// and lies on the top edge of 70, 72 lies inside 70.
constexpr std::uint32_t kVisibleChild = WS_CHILD | WS_VISIBLE;
constexpr res::ControlTemplate kStackedControls[] = {
    {70, res::ControlClass::Static, {}, kVisibleChild, 0, {10, 40, 100, 40}},
    {71, res::ControlClass::Static, {}, kVisibleChild, 0, {10, 10, 100, 32}},
    {72, res::ControlClass::Static, {}, kVisibleChild, 0, {40, 60, 20, 10}},
};
const res::DialogTemplate kStacked{
    9003, {u"Stacked", u"Stacked"}, u"MS Shell Dlg", 8, 120, 90, WS_POPUP | WS_CAPTION | WS_VISIBLE, 0,
    0,    kStackedControls};

class StackedDialog : public ui::Dialog {
public:
    StackedDialog() : ui::Dialog(kStacked) {}
    Filler lower{RGB(255, 0, 0)};
    Filler upper{RGB(0, 0, 255)};
    Filler inside{RGB(0, 160, 0)};

protected:
    void DoDataExchange(ui::DataExchange& dx) override {
        ui::DDX_Control(dx, 70, lower);
        ui::DDX_Control(dx, 71, upper);
        ui::DDX_Control(dx, 72, inside);
    }
};

// Whatever order the windows are painted in, a box's top edge shows the box
// itself, not the one above it, and what lies inside a box shows through.
TEST(PainterTest, ABoxPaintsNeitherOverTheEdgeOfTheNextNorOverWhatLiesInsideIt) {
    StackedDialog dialog;
    ui::test::ModalRecorder modal([](ui::Dialog& shown) {
        auto& d = static_cast<StackedDialog&>(shown);
        const auto centreOf = [&](ui::Window& control, int dy) {
            ui::RECT rect;
            control.GetWindowRect(rect);
            d.ScreenToClient(rect);
            return POINT{(rect.left + rect.right) / 2,
                         dy < 0 ? rect.bottom + dy : (rect.top + rect.bottom) / 2};
        };
        HWND hwnd = ui::HwndOf(d);
        for (ui::Window* first : {static_cast<ui::Window*>(&d.lower), static_cast<ui::Window*>(&d.upper)}) {
            // The one painted last would win on a screen that clips nothing.
            ui::Window* last = first == &d.lower ? static_cast<ui::Window*>(&d.upper) : &d.lower;
            RedrawWindow(ui::HwndOf(*first), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
            RedrawWindow(ui::HwndOf(*last), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
            RedrawWindow(ui::HwndOf(d.inside), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
            HDC dc = GetDC(hwnd);
            const POINT edge = centreOf(d.upper, -1);
            const POINT inside = centreOf(d.inside, 0);
            EXPECT_EQ(GetPixel(dc, edge.x, edge.y), RGB(255, 0, 0)) << "the lower box's top edge";
            EXPECT_EQ(GetPixel(dc, inside.x, inside.y), RGB(0, 160, 0)) << "the control inside the box";
            ReleaseDC(hwnd, dc);
        }
        d.EndDialog(0);
    });
    ASSERT_EQ(dialog.DoModal(), 0);
}

TEST(PainterTest, TextLandsInsideItsRectangleInTheColourGiven) {
    Surface surface(80, 30);
    surface.Painter().FillRect({0, 0, 80, 30}, kGround);
    surface.Painter().DrawText({40, 0, 80, 30}, u"WWW", ui::Font(), kInk,
                               DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    int inked = 0;
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 80; ++x) {
            if (surface.At(x, y) == kGround) continue;
            ASSERT_GE(x, 40) << "nothing left of the rectangle";
            ++inked;
        }
    }
    EXPECT_GT(inked, 10);
}

}  // namespace
