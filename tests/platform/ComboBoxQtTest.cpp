#include "platform/ComboBox.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include "platform/qt/WindowAccess.h"
#include "tests/platform/ComboDialog.h"

namespace {

using platform_test::ComboDialog;
using platform_test::RunWith;

TEST(ComboBox, UserActionsNotifyEditUpdatesReflectedDropDownAndSelChangeToTheParent) {
    ComboDialog dialog;
    dialog.onDropDown = [&] {
        dialog.list.ResetContent();
        dialog.list.AddString(u"filled on drop-down");
    };
    ASSERT_EQ(
        RunWith(dialog,
                [&] {
                    QTest::keyClicks(qobject_cast<QComboBox*>(ui::QWidgetOf(dialog.edit))->lineEdit(), "AT");
                    EXPECT_EQ(dialog.edit.updates, (std::vector<std::u16string>{u"A", u"AT"}));
                    EXPECT_EQ(dialog.parentEditUpdates, 0)
                        << "a reflected notification stays with the control";
                    dialog.edit.SetWindowText(u"x");
                    EXPECT_EQ(dialog.edit.updates.size(), 2u) << "text set by the program is no edit update";

                    auto* list = qobject_cast<QComboBox*>(ui::QWidgetOf(dialog.list));
                    list->showPopup();
                    EXPECT_EQ(dialog.dropDowns, 1);
                    EXPECT_EQ(dialog.list.GetLBText(0), u"filled on drop-down");
                    list->hidePopup();
                    emit list->activated(0);
                    EXPECT_EQ(dialog.selChanges, 1);
                }),
        0)
        << "the dialog ran";
}

}  // namespace
