#include "platform/win32/Win32.h"
// After the Windows headers: see Win32.h.
#include "platform/ToolkitBox.h"

#include <string>

#include "platform/OpenBox.h"
#include "platform/Window.h"
#include "platform/win32/Wide.h"
#include "platform/win32/WindowAccess.h"

namespace ui {
namespace {

struct PendingBox {
    HHOOK hook = nullptr;
    HWND box = nullptr;
    const BoxLook* look = nullptr;
};

thread_local PendingBox* t_pending = nullptr;

void SetButtonText(HWND box, int id, std::u16string_view text) {
    SetDlgItemTextW(box, id, win32::Wide(std::u16string(text)));
}

// The system names the buttons in its own language; the box's window exists
// once it is about to be activated, and its buttons take the layer's texts
// before it is drawn.
LRESULT CALLBACK OnBoxEvent(int code, WPARAM wParam, LPARAM lParam) {
    PendingBox* pending = t_pending;
    if (code == HCBT_ACTIVATE && pending != nullptr && pending->box == nullptr) {
        pending->box = reinterpret_cast<HWND>(wParam);
        SetButtonText(pending->box, IDOK, pending->look->okText);
        SetButtonText(pending->box, IDCANCEL, pending->look->cancelText);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The active window is the thread's only while the program is in front; a box
// raised from the background (a port error, a worker's message) still
// belongs to the main window, or to the dialog it has up, so that neither
// takes clicks while the box is shown.
HWND OwnerOfBox() {
    if (HWND active = GetActiveWindow()) return active;
    const Window* main = AfxGetMainWnd();
    HWND mainHwnd = main != nullptr ? HwndOf(*main) : nullptr;
    return mainHwnd != nullptr ? GetLastActivePopup(mainHwnd) : nullptr;
}

}  // namespace

bool ShowToolkitBox(const BoxLook& look, OpenBox& open) {
    PendingBox pending;
    pending.look = &look;
    pending.hook = SetWindowsHookExW(WH_CBT, OnBoxEvent, nullptr, GetCurrentThreadId());
    PendingBox* outer = t_pending;
    t_pending = &pending;
    open.SetCloser([&pending] {
        if (pending.box != nullptr) EndDialog(pending.box, IDCANCEL);
    });
    const std::u16string caption(look.caption);
    const std::u16string text(look.text);
    const int answer =
        MessageBoxW(OwnerOfBox(), win32::Wide(text), win32::Wide(caption), look.style | MB_SETFOREGROUND);
    t_pending = outer;
    if (pending.hook != nullptr) UnhookWindowsHookEx(pending.hook);
    return answer == IDOK && !open.Closed();
}

}  // namespace ui
