// Painter::DrawWindowBackground: it reads the window's Win32 window, so it
// lies beside the window core rather than with the drawing primitives.

#include "platform/win32/Win32.h"
// After the Windows headers: see Win32.h.
#include "platform/win32/Win32Painter.h"
#include "platform/win32/WindowAccess.h"

namespace ui {

void Painter::DrawWindowBackground(const Window& window, const RECT& source, int x, int y) {
    HWND hwnd = HwndOf(window);
    if (hwnd == nullptr || source.Width() <= 0 || source.Height() <= 0) return;
    HDC dc = m_impl.dc;
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, x, y, x + source.Width(), y + source.Height());
    OffsetViewportOrgEx(dc, x - source.left, y - source.top, nullptr);
    // The window's own erasing: the dialog's face, or what its class paints.
    SendMessageW(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RestoreDC(dc, saved);
}

}  // namespace ui
