#include "platform/win32/Win32.h"
// After the Windows headers: see Win32.h.
#include "platform/ListCtrl.h"

#include <string>

#include "platform/win32/SendNative.h"

namespace ui {
namespace {

using win32::SendNative;

int ColumnCount(const Window& window) {
    const auto header = reinterpret_cast<HWND>(SendNative(window, LVM_GETHEADER));
    return header != nullptr ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

bool HasCell(const Window& window, int item, int subItem) {
    return item >= 0 && item < static_cast<int>(SendNative(window, LVM_GETITEMCOUNT)) && subItem >= 0 &&
           subItem < ColumnCount(window);
}

// The list view keeps its own copy of the text it is given.
LPWSTR TextParam(std::u16string& text) {
    return reinterpret_cast<LPWSTR>(text.data());
}

}  // namespace

void ListCtrl::SetExtendedStyle(std::uint32_t exStyle) {
    SendNative(*this, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LPARAM>(exStyle));
}

int ListCtrl::InsertColumn(int column, std::u16string_view heading, int format, int width) {
    if (HwndOf(*this) == nullptr || column < 0) return -1;
    std::u16string text(heading);
    LVCOLUMNW info{};
    info.mask = LVCF_TEXT | LVCF_FMT | (width >= 0 ? LVCF_WIDTH : 0);
    info.fmt = format;
    info.cx = width;
    info.pszText = TextParam(text);
    return static_cast<int>(
        SendNative(*this, LVM_INSERTCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&info)));
}

int ListCtrl::GetItemCount() const {
    return static_cast<int>(SendNative(*this, LVM_GETITEMCOUNT));
}

int ListCtrl::InsertItem(int index, std::u16string_view text) {
    // A row of a report without columns could never be shown.
    if (HwndOf(*this) == nullptr || index < 0 || ColumnCount(*this) == 0) return -1;
    std::u16string copy(text);
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.pszText = TextParam(copy);
    return static_cast<int>(SendNative(*this, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

bool ListCtrl::SetItemText(int item, int subItem, std::u16string_view text) {
    if (!HasCell(*this, item, subItem)) return false;
    std::u16string copy(text);
    LVITEMW cell{};
    cell.iSubItem = subItem;
    cell.pszText = TextParam(copy);
    return SendNative(*this, LVM_SETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&cell)) !=
           FALSE;
}

std::u16string ListCtrl::GetItemText(int item, int subItem) const {
    if (!HasCell(*this, item, subItem)) return {};
    // The list view gives no text's length: the buffer grows until the text
    // leaves room in it.
    std::u16string text(64, u'\0');
    for (;;) {
        LVITEMW cell{};
        cell.iSubItem = subItem;
        cell.pszText = TextParam(text);
        cell.cchTextMax = static_cast<int>(text.size());
        const auto copied = static_cast<std::size_t>(
            SendNative(*this, LVM_GETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&cell)));
        if (copied + 1 < text.size()) {
            text.resize(copied);
            return text;
        }
        text.resize(text.size() * 2);
    }
}

bool ListCtrl::DeleteAllItems() {
    return HwndOf(*this) != nullptr && SendNative(*this, LVM_DELETEALLITEMS) != FALSE;
}

int ListCtrl::GetNextItem(int start, UINT flags) const {
    if (HwndOf(*this) == nullptr) return -1;
    return static_cast<int>(
        SendNative(*this, LVM_GETNEXTITEM, static_cast<WPARAM>(start), MAKELPARAM(flags, 0)));
}

bool ListCtrl::SetItemState(int item, UINT state, UINT mask) {
    // Item -1 would mean every row to the list view.
    if (item < 0 || item >= GetItemCount()) return false;
    LVITEMW info{};
    info.state = state;
    info.stateMask = mask;
    return SendNative(*this, LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&info)) !=
           FALSE;
}

}  // namespace ui
