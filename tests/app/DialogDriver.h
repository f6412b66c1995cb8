#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ComboBox.h"
#include "platform/Dialog.h"
#include "platform/TestHooks.h"
#include "res/WinDefs.h"
#include "tests/support/PersonInput.h"

namespace tarnel::app::test {

// What a user does with a dialog's controls, through its windows, so that the
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

// Opens the drop-down list of combo `id` with a click, as a person does, and
// closes it with Enter on the item it shows chosen (Escape would bring back
// the choice from before the list opened on Windows).
inline void DropDown(ui::Dialog& dlg, int id) {
    tarnel::test::ClickOn(*dlg.GetDlgItem(id));
    tarnel::test::PressKey(ui::VK_RETURN);
}

// Clicks the middle of button `id` through its window, as a person does; a
// click that another window would catch fails the test.
inline void Click(ui::Dialog& dlg, int id) {
    ui::Window& button = *dlg.GetDlgItem(id);
    EXPECT_EQ(tarnel::test::ClickOn(button), &button) << "the click at control " << id << " misses it";
}

}  // namespace tarnel::app::test
