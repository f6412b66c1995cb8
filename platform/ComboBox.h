#pragma once

// A combo box (class COMBOBOX): a drop-down list (CBS_DROPDOWNLIST) or a
// drop-down with an edit field (CBS_DROPDOWN). With CBS_SORT, AddString keeps
// the list in case-insensitive text order. Notifications to the parent (or
// reflected): CBN_DROPDOWN before the list opens, CBN_SELCHANGE when the user
// picks an item, CBN_EDITUPDATE when the user changes the edit field's text.
// Changes made through these functions send no notification.

#include <cstdint>

#include "platform/Window.h"

namespace ui {

class ComboBox : public Window {
public:
    using ItemData = std::uintptr_t;

    int GetCount() const;
    // The index the item went to, or CB_ERR.
    int AddString(std::u16string_view text);
    // At `index` (-1: at the end); the index, or CB_ERR for an index beyond the
    // count.
    int InsertString(int index, std::u16string_view text);
    // The count left, or CB_ERR for an index that does not exist.
    int DeleteString(int index);
    void ResetContent();

    // The selected index, or CB_ERR when none. SetCurSel(-1) clears the
    // selection (and the edit field); an index that does not exist returns
    // CB_ERR and clears it too. Selecting puts the item's text into the
    // edit field.
    int GetCurSel() const;
    int SetCurSel(int index);

    // Item data: 0 for a new item. GetItemData returns CB_ERR (as ItemData)
    // for an index that does not exist; SetItemData returns CB_ERR then, else 0.
    ItemData GetItemData(int index) const;
    int SetItemData(int index, ItemData data);
    // The item's text; empty for an index that does not exist.
    std::u16string GetLBText(int index) const;

    // The edit field's selection: start in the low word, end in the high
    // word (the caret's position twice when nothing is selected); CB_ERR
    // (as unsigned) for a combo without an edit field.
    std::uint32_t GetEditSel() const;
    // Selects start..end in the edit field; end -1 means to the end, start -1
    // removes the selection. False for a combo without an edit field.
    bool SetEditSel(int start, int end);

    // The text of the edit field (GetWindowText/SetWindowText do the same).

protected:
    bool CanAttachTo(const res::ControlTemplate& control) const override {
        return control.cls == res::ControlClass::ComboBox;
    }
};

}  // namespace ui
