#include "platform/ComboBox.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/DataExchange.h"
#include "platform/Dialog.h"
#include "platform/TestHooks.h"
#include "tests/platform/TestTemplates.h"

namespace {

class ComboDialog : public ui::Dialog {
public:
    ComboDialog() : ui::Dialog(platform_test::kModal) {
        for (int id : {30, 31}) {
            for (ui::UINT code : {ui::CBN_SELCHANGE, ui::CBN_EDITUPDATE, ui::CBN_EDITCHANGE})
                MapCommandRange(id, id, &ComboDialog::OnNotification, code);
        }
    }
    ui::ComboBox list;  // sorted drop-down list
    ui::ComboBox edit;  // drop-down with an edit field
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
    dialog.DoModal();
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
        EXPECT_EQ(sorted.GetCurSel(), ui::CB_ERR) << "adding to an empty list selects nothing";

        ui::ComboBox& c = dialog.edit;
        EXPECT_EQ(c.AddString(u"9600"), 0);
        EXPECT_EQ(c.InsertString(0, u"4800"), 0);
        EXPECT_EQ(c.InsertString(-1, u"230400"), 2);
        EXPECT_EQ(c.InsertString(9, u"x"), ui::CB_ERR);
        EXPECT_EQ(c.GetItemData(1), 0u) << "a new item's data is 0";
        EXPECT_EQ(c.SetItemData(1, 101), 0);
        EXPECT_EQ(c.InsertString(0, u"2400"), 0);
        EXPECT_EQ(c.GetItemData(2), 101u) << "9600's data moved with it";
        EXPECT_EQ(c.GetItemData(9), static_cast<ui::ComboBox::ItemData>(ui::CB_ERR));
        EXPECT_EQ(c.SetItemData(-1, 5), ui::CB_ERR);
        EXPECT_EQ(c.DeleteString(0), 3);
        EXPECT_EQ(c.DeleteString(3), ui::CB_ERR);
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
        EXPECT_EQ(c.SetCurSel(5), ui::CB_ERR);
        EXPECT_EQ(c.GetCurSel(), ui::CB_ERR) << "a bad index clears the selection";
        EXPECT_EQ(c.GetWindowText(), u"");
        c.SetCurSel(0);
        c.ResetContent();
        EXPECT_EQ(c.GetCount(), 0);
        EXPECT_EQ(c.GetWindowText(), u"");

        EXPECT_EQ(dialog.list.GetEditSel(), static_cast<std::uint32_t>(ui::CB_ERR));
        EXPECT_FALSE(dialog.list.SetEditSel(0, 1));
    });
    EXPECT_EQ(dialog.notifications, 0);
}

}  // namespace
