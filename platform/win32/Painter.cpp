#include "platform/win32/Win32.h"
// After the Windows headers: see Win32.h.
#include "platform/Painter.h"

#include <algorithm>

#include "platform/Font.h"
#include "platform/Image.h"
#include "platform/win32/Win32Font.h"
#include "platform/win32/Win32Image.h"
#include "platform/win32/Win32Painter.h"
#include "platform/win32/WindowAccess.h"

namespace ui {
namespace {

::RECT ToRect(const RECT& rect) {
    return {rect.left, rect.top, rect.right, rect.bottom};
}

void Fill(HDC dc, const ::RECT& rect, COLORREF color) {
    HBRUSH brush = CreateSolidBrush(color);
    ::FillRect(dc, &rect, brush);
    DeleteObject(brush);
}

}  // namespace

void Painter::FillRect(const RECT& rect, COLORREF color) {
    Fill(m_impl.dc, ToRect(rect), color);
}

void Painter::FrameRect(const RECT& rect, COLORREF color, int width) {
    const int w = std::min(width, std::min(rect.Width(), rect.Height()) / 2 + 1);
    Fill(m_impl.dc, {rect.left, rect.top, rect.right, rect.top + w}, color);
    Fill(m_impl.dc, {rect.left, rect.bottom - w, rect.right, rect.bottom}, color);
    Fill(m_impl.dc, {rect.left, rect.top, rect.left + w, rect.bottom}, color);
    Fill(m_impl.dc, {rect.right - w, rect.top, rect.right, rect.bottom}, color);
}

void Painter::DrawLine(int x1, int y1, int x2, int y2, COLORREF color, int width) {
    HPEN pen = CreatePen(PS_SOLID, width, color);
    HGDIOBJ old = SelectObject(m_impl.dc, pen);
    MoveToEx(m_impl.dc, x1, y1, nullptr);
    LineTo(m_impl.dc, x2, y2);
    // LineTo leaves out the end point.
    LineTo(m_impl.dc, x2 + (x2 >= x1 ? 1 : -1), y2 + (y1 == y2 ? 0 : (y2 >= y1 ? 1 : -1)));
    SelectObject(m_impl.dc, old);
    DeleteObject(pen);
}

void Painter::DrawText(const RECT& rect, std::u16string_view text, const Font& font, COLORREF color,
                       UINT format) {
    HGDIOBJ old = SelectObject(m_impl.dc, win32::ToHFont(font));
    const int oldMode = SetBkMode(m_impl.dc, TRANSPARENT);
    const COLORREF oldColor = SetTextColor(m_impl.dc, color);
    ::RECT area = ToRect(rect);
    DrawTextW(m_impl.dc, reinterpret_cast<const wchar_t*>(text.data()), static_cast<int>(text.size()), &area,
              format | DT_NOPREFIX);
    SetTextColor(m_impl.dc, oldColor);
    SetBkMode(m_impl.dc, oldMode);
    SelectObject(m_impl.dc, old);
}

void Painter::DrawImage(const RECT& rect, const Image& image, COLORREF keyColor) {
    const win32::GdiplusImage* picture = win32::PictureOf(image);
    if (picture != nullptr) picture->Draw(m_impl.dc, ToRect(rect), keyColor);
}

void Painter::DrawWindowBackground(const Window& window, const RECT& source, int x, int y) {
    HWND hwnd = HwndOf(window);
    if (hwnd == nullptr || source.Width() <= 0 || source.Height() <= 0) return;
    HDC dc = m_impl.dc;
    const int saved = SaveDC(dc);
    OffsetViewportOrgEx(dc, x - source.left, y - source.top, nullptr);
    IntersectClipRect(dc, source.left, source.top, source.right, source.bottom);
    // Its background, then what it paints itself; its children stay out.
    SendMessageW(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    SendMessageW(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    RestoreDC(dc, saved);
}

struct Canvas::Impl {
    Impl(int width, int height) : dc(CreateCompatibleDC(nullptr)), painterImpl{dc}, painter(painterImpl) {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        old = SelectObject(dc, bitmap);
        size = {width, height};
    }
    ~Impl() {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }

    HDC dc;
    HBITMAP bitmap = nullptr;
    HGDIOBJ old = nullptr;
    SIZE size;
    Painter::Impl painterImpl;
    Painter painter;
};

Canvas::Canvas(int width, int height, COLORREF fill) : m_impl(std::make_unique<Impl>(width, height)) {
    m_impl->painter.FillRect({0, 0, width, height}, fill);
}

Canvas::~Canvas() = default;

Painter& Canvas::GetPainter() {
    return m_impl->painter;
}

void Canvas::CopyTo(Painter& target, int x, int y) {
    GdiFlush();
    BitBlt(target.GetImpl().dc, x, y, m_impl->size.cx, m_impl->size.cy, m_impl->dc, 0, 0, SRCCOPY);
}

}  // namespace ui
