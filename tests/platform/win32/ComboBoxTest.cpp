#include "platform/ComboBox.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "platform/DataExchange.h"
#include "platform/Dialog.h"
#include "platform/TestHooks.h"
#include "platform/win32/WindowAccess.h"
#include "tests/platform/TestTemplates.h"
#include "tests/platform/win32/PersonInput.h"
#include "tests/support/ModalRecorder.h"
#include "tests/support/ProcessEvents.h"
#include "tests/support/WaitUntil.h"

namespace {

// A combo class of the test's own that reflects its edit updates.
class NotifyingCombo : public ui::ComboBox {
public:
    NotifyingCombo() { MapReflect(CBN_EDITUPDATE, &NotifyingCombo::OnEditUpdate); }
    std::vector<std::u16string> updates;

private:
    void OnEditUpdate() { updates.push_back(GetWindowText()); }
};

class ComboDialog : public ui::Dialog {
public:
    ComboDialog() : ui::Dialog(platform_test::kModal) {
        for (int id : {30, 31}) {
            for (ui::UINT code : {CBN_SELCHANGE, CBN_EDITUPDATE, CBN_EDITCHANGE})
                MapCommandRange(id, id, &ComboDialog::OnNotification, code);
        }
    }
    ui::ComboBox list;    // sorted drop-down list
    NotifyingCombo edit;  // drop-down with an edit field
    int notifications = 0;

protected:
    void DoDataExchange(ui::DataExchange& dx) override {
        ui::DDX_Control(dx, 30, list);
        ui::DDX_Control(dx, 31, edit);
    }

private:
    void OnNotification(ui::UINT) { ++notifications; }
};

void RunWith(ComboDialog& dialog, const std::function<void()>& body) {
    ui::test::ModalRecorder modal([&](ui::Dialog& d) {
        body();
        d.EndDialog(0);
    });
    ASSERT_EQ(dialog.DoModal(), 0) << "the dialog ran";
}

std::vector<std::u16string> Items(const ui::ComboBox& c) {
    std::vector<std::u16string> items;
    for (int i = 0; i < c.GetCount(); ++i)
        items.push_back(c.GetLBText(i));
    return items;
}

TEST(Win32ComboBox, SortedInsertItemDataAndBadIndexes) {
    ComboDialog dialog;
    RunWith(dialog, [&] {
        ui::ComboBox& sorted = dialog.list;
        for (const char16_t* name : {u"COM3", u"COM10", u"com2", u"COM1"})
            sorted.AddString(name);
        EXPECT_EQ(Items(sorted), (std::vector<std::u16string>{u"COM1", u"COM10", u"com2", u"COM3"}));
        EXPECT_EQ(sorted.GetCurSel(), CB_ERR) << "adding to an empty list selects nothing";
        EXPECT_EQ(sorted.AddString(u"com10"), 2) << "an equal text goes after the ones there";

        ui::ComboBox& c = dialog.edit;
        EXPECT_EQ(c.AddString(u"9600"), 0);
        EXPECT_EQ(c.InsertString(0, u"4800"), 0);
        EXPECT_EQ(c.InsertString(-1, u"230400"), 2);
        EXPECT_EQ(c.InsertString(9, u"x"), CB_ERR);
        EXPECT_EQ(c.GetItemData(1), 0u) << "a new item's data is 0";
        EXPECT_EQ(c.SetItemData(1, 101), 0);
        EXPECT_EQ(c.InsertString(0, u"2400"), 0);
        EXPECT_EQ(c.GetItemData(2), 101u) << "9600's data moved with it";
        EXPECT_EQ(c.GetItemData(9), static_cast<ui::ComboBox::ItemData>(CB_ERR));
        EXPECT_EQ(c.SetItemData(-1, 5), CB_ERR);
        EXPECT_EQ(c.DeleteString(0), 3);
        EXPECT_EQ(c.DeleteString(3), CB_ERR);
        EXPECT_EQ(c.GetLBText(3), u"");
    });
    EXPECT_EQ(dialog.notifications, 0);
}

TEST(Win32ComboBox, SelectionAndEditFieldChangeWithoutNotifications) {
    ComboDialog dialog;
    RunWith(dialog, [&] {
        ui::ComboBox& c = dialog.edit;
        c.InsertString(0, u"AT+VER?");
        c.InsertString(0, u"AT");
        EXPECT_EQ(c.SetCurSel(1), 1);
        EXPECT_EQ(c.GetWindowText(), u"AT+VER?");
        EXPECT_EQ(c.GetCurSel(), 1);
        ASSERT_TRUE(c.SetEditSel(1, -1));
        EXPECT_EQ(c.GetEditSel(), 1u | (7u << 16));
        ASSERT_TRUE(c.SetEditSel(2, 4));
        EXPECT_EQ(c.GetEditSel(), 2u | (4u << 16));
        EXPECT_EQ(c.SetCurSel(5), CB_ERR);
        EXPECT_EQ(c.GetCurSel(), CB_ERR) << "a bad index clears the selection";
        EXPECT_EQ(c.GetWindowText(), u"");
        c.SetCurSel(0);
        c.ResetContent();
        EXPECT_EQ(c.GetCount(), 0);
        EXPECT_EQ(c.GetWindowText(), u"");

        EXPECT_EQ(dialog.list.GetEditSel(), static_cast<std::uint32_t>(CB_ERR));
        EXPECT_FALSE(dialog.list.SetEditSel(0, 1));
    });
    EXPECT_EQ(dialog.notifications, 0);
}

TEST(Win32ComboBox, APersonsTypingIsReflectedAsEditUpdatesButTextSetByTheProgramIsNot) {
    ComboDialog dialog;
    RunWith(dialog, [&] {
        dialog.edit.SetWindowText(u"x");
        dialog.edit.SetWindowText(u"");
        dialog.edit.SetFocus();
        for (WORD key : {'A', 'T'})
            tarnel::test::PressKey(key);
        EXPECT_TRUE(tarnel::test::WaitUntil([&] { return dialog.edit.updates.size() == 2; },
                                            std::chrono::seconds(5), ui::test::ProcessEvents));
        EXPECT_EQ(dialog.edit.updates, (std::vector<std::u16string>{u"a", u"at"}));
    });
    EXPECT_EQ(dialog.notifications, 2)
        << "two edit changes; the reflected edit updates stay with the control";
}

}  // namespace
