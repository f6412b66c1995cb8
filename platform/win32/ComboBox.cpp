#include "platform/win32/Win32.h"
// After the Windows headers: see Win32.h.
#include "platform/ComboBox.h"

#include <string>

#include "platform/win32/SendNative.h"
#include "platform/win32/Wide.h"

namespace ui {
namespace {

using win32::SendNative;

LPARAM TextParam(const std::u16string& text) {
    return reinterpret_cast<LPARAM>(win32::Wide(text));
}

bool HasEditField(const Window& window) {
    HWND hwnd = HwndOf(window);
    return hwnd != nullptr && (GetWindowLongW(hwnd, GWL_STYLE) & 0x3) != CBS_DROPDOWNLIST;
}

}  // namespace

int ComboBox::GetCount() const {
    return static_cast<int>(SendNative(*this, CB_GETCOUNT));
}

// The list's own sorting puts a text before the equal ones already there
// (under Wine); after them, as the Qt backend does, the order of adding stays.
int ComboBox::AddString(std::u16string_view text) {
    HWND hwnd = HwndOf(*this);
    if (hwnd == nullptr) return CB_ERR;
    if ((GetWindowLongW(hwnd, GWL_STYLE) & CBS_SORT) == 0) return InsertString(-1, text);
    const std::u16string item(text);
    int index = 0;
    for (const int count = GetCount(); index < count; ++index) {
        const std::u16string other = GetLBText(index);
        if (CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, win32::Wide(other), -1, win32::Wide(item),
                           -1) == CSTR_GREATER_THAN)
            break;
    }
    return InsertString(index, text);
}

int ComboBox::InsertString(int index, std::u16string_view text) {
    if (HwndOf(*this) == nullptr) return CB_ERR;
    return static_cast<int>(
        SendNative(*this, CB_INSERTSTRING, static_cast<WPARAM>(index), TextParam(std::u16string(text))));
}

int ComboBox::DeleteString(int index) {
    if (HwndOf(*this) == nullptr) return CB_ERR;
    return static_cast<int>(SendNative(*this, CB_DELETESTRING, static_cast<WPARAM>(index)));
}

void ComboBox::ResetContent() {
    SendNative(*this, CB_RESETCONTENT);
}

int ComboBox::GetCurSel() const {
    if (HwndOf(*this) == nullptr) return CB_ERR;
    return static_cast<int>(SendNative(*this, CB_GETCURSEL));
}

int ComboBox::SetCurSel(int index) {
    if (HwndOf(*this) == nullptr) return CB_ERR;
    // Windows clears the selection for an index that does not exist; Wine
    // keeps it.
    if (index < 0 || index >= GetCount()) {
        SendNative(*this, CB_SETCURSEL, static_cast<WPARAM>(-1));
        return CB_ERR;
    }
    return static_cast<int>(SendNative(*this, CB_SETCURSEL, static_cast<WPARAM>(index)));
}

ComboBox::ItemData ComboBox::GetItemData(int index) const {
    if (HwndOf(*this) == nullptr) return static_cast<ItemData>(CB_ERR);
    return static_cast<ItemData>(SendNative(*this, CB_GETITEMDATA, static_cast<WPARAM>(index)));
}

int ComboBox::SetItemData(int index, ItemData data) {
    if (HwndOf(*this) == nullptr) return CB_ERR;
    const LRESULT result =
        SendNative(*this, CB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(data));
    return result == CB_ERR ? CB_ERR : 0;
}

std::u16string ComboBox::GetLBText(int index) const {
    const LRESULT length = SendNative(*this, CB_GETLBTEXTLEN, static_cast<WPARAM>(index));
    if (length <= 0) return {};
    std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
    const LRESULT copied =
        SendNative(*this, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return text;
}

std::uint32_t ComboBox::GetEditSel() const {
    if (!HasEditField(*this)) return static_cast<std::uint32_t>(CB_ERR);
    return static_cast<std::uint32_t>(SendNative(*this, CB_GETEDITSEL));
}

bool ComboBox::SetEditSel(int start, int end) {
    if (!HasEditField(*this)) return false;
    return SendNative(*this, CB_SETEDITSEL, 0, MAKELPARAM(start, end)) != CB_ERR;
}

}  // namespace ui
