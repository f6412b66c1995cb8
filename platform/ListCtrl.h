#pragma once

// A list view in report mode (class SysListView32): columns, rows of texts,
// a selection.

#include <cstdint>

#include "platform/Window.h"

namespace ui {

class ListCtrl : public Window {
public:
    // LVS_EX_FULLROWSELECT and LVS_EX_GRIDLINES take effect.
    void SetExtendedStyle(std::uint32_t exStyle);
    // Returns the column's index, or -1.
    int InsertColumn(int column, std::u16string_view heading, int format = LVCFMT_LEFT, int width = -1);
    int GetItemCount() const;
    // Inserts a row with the text of column 0 (an index past the end appends);
    // returns the row's index, or -1.
    int InsertItem(int index, std::u16string_view text);
    bool SetItemText(int item, int subItem, std::u16string_view text);
    // Empty for a row or column that does not exist.
    std::u16string GetItemText(int item, int subItem) const;
    bool DeleteAllItems();
    // The next row after `start` (-1: from the first) with the state in
    // `flags` (LVNI_SELECTED), or -1.
    int GetNextItem(int start, UINT flags) const;
    // LVIS_SELECTED in `mask` sets the row's selection from `state`.
    bool SetItemState(int item, UINT state, UINT mask);

protected:
    bool CanAttachTo(const res::ControlTemplate& control) const override {
        return control.cls == res::ControlClass::ListView;
    }
};

}  // namespace ui
