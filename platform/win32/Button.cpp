#include "platform/win32/Win32.h"
// After the Windows headers: see Win32.h.
#include "platform/Button.h"
#include "platform/win32/SendNative.h"

namespace ui {

using win32::SendNative;

int Button::GetCheck() const {
    return SendNative(*this, BM_GETCHECK) == BST_CHECKED ? BST_CHECKED : BST_UNCHECKED;
}

void Button::SetCheck(int check) {
    SendNative(*this, BM_SETCHECK, check == BST_CHECKED ? BST_CHECKED : BST_UNCHECKED);
}

void Button::Click() {
    SendNative(*this, BM_CLICK);
}

}  // namespace ui
