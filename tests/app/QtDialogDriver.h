#pragma once

#include <QAbstractItemView>
#include <QComboBox>
#include <chrono>
#include <string>

#include "platform/TestHooks.h"
#include "platform/qt/QtText.h"
#include "platform/qt/WindowAccess.h"
#include "tests/app/DialogDriver.h"
#include "tests/support/UserInput.h"
#include "tests/support/WaitUntil.h"

namespace tarnel::app::test {

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
