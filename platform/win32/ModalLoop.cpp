#include "platform/win32/Win32.h"
// After the Windows headers: see Win32.h.
#include "platform/win32/ModalLoop.h"

#include "platform/win32/WindowRouting.h"

namespace ui::win32 {
namespace {

void Dispatch(::MSG& msg) {
    if (msg.message == WM_KEYDOWN && PreTranslateKey(msg.hwnd, msg.message, msg.wParam, msg.lParam)) return;
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
