#include "platform/win32/Win32.h"
// After the Windows headers: see Win32.h.
#include "platform/win32/ModalLoop.h"

#include "platform/win32/WindowRouting.h"

namespace ui::win32 {
namespace {

constexpr ATOM kDialogClass = 0x8002;  // WC_DIALOG

// The child dialog (a page) that holds `window`, or nullptr.
HWND InnermostPage(HWND window) {
    for (; window != nullptr && (GetWindowLongW(window, GWL_STYLE) & WS_CHILD); window = GetParent(window)) {
        if (GetClassLongW(window, GCW_ATOM) == kDialogClass) return window;
    }
    return nullptr;
}

// Enter and Escape inside a page are the page's own IDOK and IDCANCEL, as in
// a dialog of its own; the top-level dialog, which the dialog manager would
// give them to, does not end on them. A control that wants the key keeps it.
bool SendToPage(const ::MSG& msg) {
    if (msg.message != WM_KEYDOWN || (msg.wParam != VK_RETURN && msg.wParam != VK_ESCAPE)) return false;
    HWND page = InnermostPage(msg.hwnd);
    if (page == nullptr) return false;
    const LRESULT code = SendMessageW(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg));
    if (code & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) return false;
    const int id = msg.wParam == VK_RETURN ? IDOK : IDCANCEL;
    SendMessageW(page, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
    return true;
}

void Dispatch(::MSG& msg) {
    if (msg.message == WM_KEYDOWN && PreTranslateKey(msg.hwnd, msg.message, msg.wParam, msg.lParam)) return;
    if (SendToPage(msg)) return;
    HWND root = msg.hwnd != nullptr ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (root != nullptr && IsDialogMessageW(root, &msg)) return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

// False when the loop must stop for WM_QUIT.
bool PumpOne() {
    ::MSG msg{};
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        return false;
    }
    Dispatch(msg);
    return true;
}

}  // namespace

bool PumpPending() {
    ::MSG msg{};
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        Dispatch(msg);
    }
    return true;
}

int ModalLoop::Run(HWND dialog, HWND owner) {
    m_dialog = dialog;
    m_running = true;
    m_ended = false;
    m_result = -1;
    const bool disableOwner = owner != nullptr && IsWindowEnabled(owner);
    if (disableOwner) EnableWindow(owner, FALSE);
    ShowWindow(dialog, SW_SHOW);
    SetForegroundWindow(dialog);
    while (!m_ended && IsWindow(dialog) && PumpOne()) {
    }
    // The owner takes the activation back before the dialog goes.
    if (disableOwner) EnableWindow(owner, TRUE);
    if (IsWindow(dialog)) ShowWindow(dialog, SW_HIDE);
    m_running = false;
    return m_result;
}

void ModalLoop::End(int result) {
    if (!m_running) return;
    m_result = result;
    m_ended = true;
    PostMessageW(m_dialog, WM_NULL, 0, 0);
}

}  // namespace ui::win32
