#include "platform/ComboBox.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include "platform/DataExchange.h"
#include "platform/Dialog.h"
#include "platform/TestHooks.h"
#include "platform/qt/WindowAccess.h"
#include "tests/platform/TestTemplates.h"
#include "tests/support/ModalRecorder.h"

namespace {

using ui::UINT;

// A combo class of the test's own that reflects its notifications.
class NotifyingCombo : public ui::ComboBox {
public:
    NotifyingCombo() { MapReflect(ui::CBN_EDITUPDATE, &NotifyingCombo::OnEditUpdate); }
    std::vector<std::u16string> updates;

private:
    void OnEditUpdate() { updates.push_back(GetWindowText()); }
};

class ComboDialog : public ui::Dialog {
public:
    ComboDialog() : ui::Dialog(platform_test::kModal) {
        MapCommand(30, &ComboDialog::OnDropDown, ui::CBN_DROPDOWN);
        MapCommand(30, &ComboDialog::OnSelChange, ui::CBN_SELCHANGE);
        MapCommand(31, &ComboDialog::OnParentEditUpdate, ui::CBN_EDITUPDATE);
    }
    ui::ComboBox list;
    NotifyingCombo edit;
    int dropDowns = 0;
    int selChanges = 0;
    int parentEditUpdates = 0;
    std::function<void()> onDropDown;

protected:
    void DoDataExchange(ui::DataExchange& dx) override {
        ui::DDX_Control(dx, 30, list);
        ui::DDX_Control(dx, 31, edit);
    }

private:
    void OnDropDown() {
        ++dropDowns;
        if (onDropDown) onDropDown();
    }
    void OnSelChange() { ++selChanges; }
    void OnParentEditUpdate() { ++parentEditUpdates; }
};

void RunWith(ComboDialog& dialog, const std::function<void()>& body) {
    ui::test::ModalRecorder modal([&](ui::Dialog& d) {
        body();
        d.EndDialog(0);
    });
    dialog.DoModal();
}

TEST(ComboBox, ItemDataFollowsItsItemAndBadIndexesAnswerCbErr) {
    ComboDialog dialog;
    RunWith(dialog, [&] {
        ui::ComboBox& c = dialog.edit;  // not sorted
        EXPECT_EQ(c.AddString(u"9600"), 0);
        EXPECT_EQ(c.AddString(u"115200"), 1);
        EXPECT_EQ(c.InsertString(0, u"4800"), 0);
        EXPECT_EQ(c.InsertString(-1, u"230400"), 3);
        EXPECT_EQ(c.InsertString(9, u"x"), ui::CB_ERR);
        EXPECT_EQ(c.GetItemData(2), 0u) << "a new item's data is 0";
        for (int i = 0; i < c.GetCount(); ++i)
            EXPECT_EQ(c.SetItemData(i, 100 + static_cast<unsigned>(i)), 0);
        EXPECT_EQ(c.InsertString(1, u"7200"), 1);
        EXPECT_EQ(c.GetItemData(2), 101u) << "9600's data moved with it";
        EXPECT_EQ(c.DeleteString(0), 4);
        EXPECT_EQ(c.GetLBText(0), u"7200");
        EXPECT_EQ(c.GetItemData(1), 101u);
        EXPECT_EQ(c.GetItemData(9), static_cast<ui::ComboBox::ItemData>(ui::CB_ERR));
        EXPECT_EQ(c.SetItemData(-1, 5), ui::CB_ERR);
        EXPECT_EQ(c.DeleteString(4), ui::CB_ERR);
        EXPECT_EQ(c.GetLBText(4), u"");
        c.ResetContent();
        EXPECT_EQ(c.GetCount(), 0);
        EXPECT_EQ(c.GetCurSel(), ui::CB_ERR);
    });
}

TEST(ComboBox, ListsAreUnselectedUntilSelectedAndSetCurSelSendsNoNotification) {
    ComboDialog dialog;
    RunWith(dialog, [&] {
        ui::ComboBox& c = dialog.list;
        c.AddString(u"NONE");
        c.AddString(u"EVEN");
        EXPECT_EQ(c.GetCurSel(), ui::CB_ERR) << "adding to an empty list selects nothing";
        EXPECT_EQ(c.SetCurSel(1), 1);
        EXPECT_EQ(c.GetWindowText(), u"NONE");
        EXPECT_EQ(c.SetCurSel(5), ui::CB_ERR);
        EXPECT_EQ(c.GetCurSel(), ui::CB_ERR) << "a bad index clears the selection";
        EXPECT_EQ(dialog.selChanges, 0);
    });
}

TEST(ComboBox, SortedListsInsertInCaseInsensitiveTextOrder) {
    ComboDialog dialog;
    RunWith(dialog, [&] {
        ui::ComboBox& c = dialog.list;
        for (const char16_t* name : {u"COM3", u"COM10", u"com2", u"COM1"})
            c.AddString(name);
        std::vector<std::u16string> items;
        for (int i = 0; i < c.GetCount(); ++i)
            items.push_back(c.GetLBText(i));
        EXPECT_EQ(items, (std::vector<std::u16string>{u"COM1", u"COM10", u"com2", u"COM3"}));
        EXPECT_EQ(c.AddString(u"COM10"), 2) << "an equal text goes after the ones there";
    });
}

TEST(ComboBox, EditFieldKeepsItsTextWhileItemsChangeAndTakesTheSelectedItemsText) {
    ComboDialog dialog;
    RunWith(dialog, [&] {
        ui::ComboBox& c = dialog.edit;
        c.SetWindowText(u"typed");
        c.InsertString(0, u"AT");
        EXPECT_EQ(c.GetWindowText(), u"typed");
        EXPECT_EQ(c.GetCurSel(), ui::CB_ERR);
        c.InsertString(0, u"ATI");
        c.SetCurSel(1);
        EXPECT_EQ(c.GetWindowText(), u"AT");
        c.SetWindowText(u"A");
        c.SetCurSel(1);
        EXPECT_EQ(c.GetWindowText(), u"AT") << "selecting the selected item again still sets the text";
        c.DeleteString(1);
        EXPECT_EQ(c.GetCurSel(), ui::CB_ERR);
        EXPECT_EQ(c.GetWindowText(), u"AT") << "deleting the selected item leaves the edit text";
    });
}

TEST(ComboBox, EditSelectionPacksStartAndEnd) {
    ComboDialog dialog;
    RunWith(dialog, [&] {
        ui::ComboBox& c = dialog.edit;
        c.SetWindowText(u"AT+VER?");
        ASSERT_TRUE(c.SetEditSel(1, -1));
        EXPECT_EQ(c.GetEditSel(), 1u | (7u << 16));
        ASSERT_TRUE(c.SetEditSel(2, 4));
        EXPECT_EQ(c.GetEditSel(), 2u | (4u << 16));
        c.SetEditSel(-1, 0);
        const std::uint32_t none = c.GetEditSel();
        EXPECT_EQ(none & 0xFFFF, none >> 16) << "no selection: the caret twice";
        EXPECT_EQ(dialog.list.GetEditSel(), static_cast<std::uint32_t>(ui::CB_ERR));
        EXPECT_FALSE(dialog.list.SetEditSel(0, 1));
    });
}

TEST(ComboBox, UserActionsNotifyEditUpdatesReflectedDropDownAndSelChangeToTheParent) {
    ComboDialog dialog;
    dialog.onDropDown = [&] {
        dialog.list.ResetContent();
        dialog.list.AddString(u"filled on drop-down");
    };
    RunWith(dialog, [&] {
        QTest::keyClicks(qobject_cast<QComboBox*>(ui::QWidgetOf(dialog.edit))->lineEdit(), "AT");
        EXPECT_EQ(dialog.edit.updates, (std::vector<std::u16string>{u"A", u"AT"}));
        EXPECT_EQ(dialog.parentEditUpdates, 0) << "a reflected notification stays with the control";
        dialog.edit.SetWindowText(u"x");
        EXPECT_EQ(dialog.edit.updates.size(), 2u) << "text set by the program is no edit update";

        auto* list = qobject_cast<QComboBox*>(ui::QWidgetOf(dialog.list));
        list->showPopup();
        EXPECT_EQ(dialog.dropDowns, 1);
        EXPECT_EQ(dialog.list.GetLBText(0), u"filled on drop-down");
        list->hidePopup();
        emit list->activated(0);
        EXPECT_EQ(dialog.selChanges, 1);
    });
}

}  // namespace
