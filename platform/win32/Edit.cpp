#include "platform/win32/Win32.h"
// After the Windows headers: see Win32.h.
#include "platform/Edit.h"

#include <string>

#include "platform/win32/SendNative.h"
#include "platform/win32/Wide.h"

namespace ui {

using win32::SendNative;

void Edit::SetReadOnly(bool readOnly) {
    SendNative(*this, EM_SETREADONLY, readOnly ? TRUE : FALSE);
}

bool Edit::IsReadOnly() const {
    HWND hwnd = HwndOf(*this);
    return hwnd != nullptr && (GetWindowLongW(hwnd, GWL_STYLE) & ES_READONLY) != 0;
}

void Edit::SetSel(int start, int end) {
    SendNative(*this, EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(end));
}

void Edit::GetSel(int& start, int& end) const {
    if (HwndOf(*this) == nullptr) return;
    DWORD first = 0;
    DWORD last = 0;
    SendNative(*this, EM_GETSEL, reinterpret_cast<WPARAM>(&first), reinterpret_cast<LPARAM>(&last));
    start = static_cast<int>(first);
    end = static_cast<int>(last);
}

void Edit::ReplaceSel(std::u16string_view text) {
    const std::u16string terminated(text);
    SendNative(*this, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(win32::Wide(terminated)));
}

}  // namespace ui
