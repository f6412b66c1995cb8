#pragma once

#include <QComboBox>
#include <QWidget>
#include <string>
#include <vector>

#include "app/platform/Button.h"
#include "app/platform/ComboBox.h"
#include "app/platform/Dialog.h"
#include "res/WinDefs.h"

namespace tarnel::app::test {

// What a user does with a dialog's controls, through the widgets, so that the
// layer's own notifications (CBN_DROPDOWN, BN_CLICKED) reach the dialog.
inline ui::ComboBox& Combo(ui::Dialog& dlg, int id) {
    return dynamic_cast<ui::ComboBox&>(*dlg.GetDlgItem(id));
}

inline std::vector<std::u16string> Items(ui::Dialog& dlg, int id) {
    ui::ComboBox& combo = Combo(dlg, id);
    std::vector<std::u16string> items;
    for (int i = 0; i < combo.GetCount(); ++i)
        items.push_back(combo.GetLBText(i));
    return items;
}

inline std::u16string Selected(ui::Dialog& dlg, int id) {
    ui::ComboBox& combo = Combo(dlg, id);
    return combo.GetCurSel() == ui::CB_ERR ? u"<none>" : combo.GetLBText(combo.GetCurSel());
}

// Picks the item with `text`, as a user does in the list; false when there is none.
inline bool Pick(ui::Dialog& dlg, int id, const std::u16string& text) {
    ui::ComboBox& combo = Combo(dlg, id);
    for (int i = 0; i < combo.GetCount(); ++i) {
        if (combo.GetLBText(i) == text) {
            combo.SetCurSel(i);
            return true;
        }
    }
    return false;
}

// Opens and closes the drop-down list of combo `id`.
inline void DropDown(ui::Dialog& dlg, int id) {
    auto* box = qobject_cast<QComboBox*>(dlg.GetDlgItem(id)->GetQWidget());
    box->showPopup();
    box->hidePopup();
}

inline void Click(ui::Dialog& dlg, int id) {
    dynamic_cast<ui::Button&>(*dlg.GetDlgItem(id)).Click();
}

}  // namespace tarnel::app::test
