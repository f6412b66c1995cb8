#include "platform/win32/Win32.h"
// After the Windows headers: see Win32.h.
#include "platform/win32/WindowTarget.h"

#include "platform/WindowCore.h"
#include "platform/win32/WaitCursorState.h"
#include "platform/win32/Win32Painter.h"
#include "platform/win32/WindowAccess.h"

namespace ui::win32 {
namespace {

// System menu items of the system's own (SC_SIZE and above) keep their
// default handling; the program's items go to the message map.
constexpr WPARAM kFirstSystemCommand = 0xF000;

// Messages whose result tells whether the default processing is skipped.
bool ResultMeansHandled(UINT message) {
    return message == WM_KEYDOWN || message == WM_CHAR || message == WM_PASTE || message == WM_SETCURSOR;
}

// A window a control is built of (a combo box's edit field), whose
// notifications the control's class turns into its own (CBN_EDITUPDATE).
bool IsInnerPart(HWND control, HWND sender) {
    constexpr ATOM kDialogClass = 0x8002;
    return sender != nullptr && GetParent(sender) == control && WindowAccess::FromHwnd(sender) == nullptr &&
           GetClassLongW(control, GCW_ATOM) != kDialogClass;
}

// Which siblings lie above a window that paints itself. The controls inside
// it that come later in its template, as the Qt backend stacks them (Windows
// puts them below): a group box leaves its radio buttons alone. A neighbour
// that only overlaps its edge, as Windows stacks them, the earlier one: a
// group box does not paint over the title of the one below it.
void ExcludeSiblingsAbove(HWND window, HDC dc) {
    ::RECT own{};
    GetWindowRect(window, &own);
    const auto excludeIf = [&](HWND sibling, bool later) {
        ::RECT area{};
        ::RECT overlap{};
        if (!IsWindowVisible(sibling) || !GetWindowRect(sibling, &area) ||
            !IntersectRect(&overlap, &own, &area))
            return;
        const bool inside = EqualRect(&overlap, &area);
        const bool around = EqualRect(&overlap, &own);
        if (later ? !inside : inside || around) return;
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&area), 2);
        ExcludeClipRect(dc, area.left, area.top, area.right, area.bottom);
    };
    for (HWND sibling = GetWindow(window, GW_HWNDNEXT); sibling != nullptr;
         sibling = GetWindow(sibling, GW_HWNDNEXT))
        excludeIf(sibling, true);
    for (HWND sibling = GetWindow(window, GW_HWNDPREV); sibling != nullptr;
         sibling = GetWindow(sibling, GW_HWNDPREV))
        excludeIf(sibling, false);
}

bool IsPostedRange(UINT message) {
    return message >= WM_APP && message < 0xC000;
}

}  // namespace

bool WindowTarget::OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    auto& state = WindowAccess::StateOf(m_window);
    switch (message) {
        case WM_INITDIALOG:
            if (m_onInit) m_onInit(hwnd);
            return true;
        case WM_PAINT:
            return Paint(hwnd);
        case WM_ERASEBKGND:
            result = 1;
            return static_cast<bool>(state.paint);
        case WM_SETCURSOR:
            if (SetWaitCursorIfWaiting()) {
                result = TRUE;
                return true;
            }
            break;
        case WM_COMMAND:
            if (IsInnerPart(hwnd, reinterpret_cast<HWND>(lParam))) return false;
            // A control's notification names the control's window.
            if (Window* control = WindowAccess::FromHwnd(reinterpret_cast<HWND>(lParam)))
                lParam = reinterpret_cast<LPARAM>(control);
            result = m_window.WindowProc(message, wParam, lParam);
            return true;
        case WM_TIMER:
            if (!state.timers.contains(static_cast<UINT>(wParam))) return false;
            result = m_window.WindowProc(message, wParam, lParam);
            return true;
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) >= kFirstSystemCommand) return false;
            result = m_window.WindowProc(message, wParam, lParam);
            return true;
        default:
            break;
    }
    if (IsPostedRange(message)) {
        result = m_window.WindowProc(message, wParam, lParam);
        return true;
    }
    if (ResultMeansHandled(message)) {
        result = m_window.WindowProc(message, wParam, lParam);
        return result != 0;
    }
    return state.map.Dispatch(message, wParam, lParam, result);
}

bool WindowTarget::Paint(HWND hwnd) {
    auto& paint = WindowAccess::StateOf(m_window).paint;
    if (!paint) return false;
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(hwnd, &ps);
    ExcludeSiblingsAbove(hwnd, dc);
    Painter::Impl impl{dc};
    Painter painter(impl);
    paint(painter);
    EndPaint(hwnd, &ps);
    return true;
}

bool WindowTarget::OnReflect(UINT code) {
    return WindowAccess::StateOf(m_window).map.Reflect(code);
}

bool WindowTarget::PreTranslate(HWND focus, UINT message, WPARAM wParam, LPARAM lParam) {
    const MSG msg{WindowAccess::FindWindowFor(focus), message, wParam, lParam};
    return WindowAccess::PreTranslate(m_window, msg);
}

void WindowTarget::OnDetached() {
    DetachToolkitWindow(m_window);
}

}  // namespace ui::win32
