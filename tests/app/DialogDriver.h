#pragma once

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QWidget>
#include <chrono>
#include <string>
#include <vector>

#include "platform/Button.h"
#include "platform/ComboBox.h"
#include "platform/Dialog.h"
#include "platform/TestHooks.h"
#include "platform/qt/QtText.h"
#include "platform/qt/WindowAccess.h"
#include "res/WinDefs.h"
#include "tests/support/UserInput.h"
#include "tests/support/WaitUntil.h"

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
    auto* box = qobject_cast<QComboBox*>(ui::QWidgetOf(*dlg.GetDlgItem(id)));
    box->showPopup();
    box->hidePopup();
}

// Clicks the middle of button `id` through its window, as a person does; a
// click that another widget would catch fails the test.
inline void Click(ui::Dialog& dlg, int id) {
    QWidget& button = *ui::QWidgetOf(dynamic_cast<ui::Button&>(*dlg.GetDlgItem(id)));
    const QWidget* hit = tarnel::test::ClickOn(button);
    EXPECT_TRUE(hit == &button || button.isAncestorOf(hit)) << "the click at control " << id << " misses it";
}

// Chooses `text` in combo `id` as a person does: a click drops the list down
// (the dialog refills it then), a click on the item picks it. False when the
// list did not open or holds no such item.
inline bool ChooseByClicking(ui::Dialog& dlg, int id, const std::u16string& text) {
    using namespace std::chrono_literals;
    auto* box = qobject_cast<QComboBox*>(ui::QWidgetOf(*dlg.GetDlgItem(id)));
    tarnel::test::ClickOn(*box);
    QAbstractItemView* list = box->view();
    if (!tarnel::test::WaitUntil([&] { return list->isVisible(); }, 5s, ui::test::ProcessEvents))
        return false;
    const int row = box->findText(ui::ToQString(text));
    if (row < 0) return false;
    tarnel::test::ClickOn(*list->viewport(), list->visualRect(box->model()->index(row, 0)).center());
    tarnel::test::WaitUntil([&] { return !list->isVisible(); }, 5s, ui::test::ProcessEvents);
    return box->currentIndex() == row;
}

}  // namespace tarnel::app::test
