#include "platform/ComboBox.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/platform/ComboDialog.h"

// The layer's combo box, the same on every backend; a person's input, which
// each backend gives its own way, is checked beside it.

namespace {

using platform_test::ComboDialog;
using platform_test::RunWith;

TEST(ComboBox, ItemDataFollowsItsItemAndBadIndexesAnswerCbErr) {
    ComboDialog dialog;
    ASSERT_EQ(RunWith(dialog,
                      [&] {
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
                      }),
              0)
        << "the dialog ran";
    EXPECT_EQ(dialog.Notifications(), 0) << "what the program does notifies nothing";
}

TEST(ComboBox, ListsAreUnselectedUntilSelectedAndSetCurSelSendsNoNotification) {
    ComboDialog dialog;
    ASSERT_EQ(RunWith(dialog,
                      [&] {
                          ui::ComboBox& c = dialog.list;
                          c.AddString(u"NONE");
                          c.AddString(u"EVEN");
                          EXPECT_EQ(c.GetCurSel(), ui::CB_ERR) << "adding to an empty list selects nothing";
                          EXPECT_EQ(c.SetCurSel(1), 1);
                          EXPECT_EQ(c.GetWindowText(), u"NONE");
                          EXPECT_EQ(c.SetCurSel(5), ui::CB_ERR);
                          EXPECT_EQ(c.GetCurSel(), ui::CB_ERR) << "a bad index clears the selection";
                          EXPECT_EQ(dialog.selChanges, 0);
                      }),
              0)
        << "the dialog ran";
    EXPECT_EQ(dialog.Notifications(), 0) << "what the program does notifies nothing";
}

TEST(ComboBox, SortedListsInsertInCaseInsensitiveTextOrder) {
    ComboDialog dialog;
    ASSERT_EQ(
        RunWith(dialog,
                [&] {
                    ui::ComboBox& c = dialog.list;
                    for (const char16_t* name : {u"COM3", u"COM10", u"com2", u"COM1"})
                        c.AddString(name);
                    std::vector<std::u16string> items;
                    for (int i = 0; i < c.GetCount(); ++i)
                        items.push_back(c.GetLBText(i));
                    EXPECT_EQ(items, (std::vector<std::u16string>{u"COM1", u"COM10", u"com2", u"COM3"}));
                    EXPECT_EQ(c.AddString(u"COM10"), 2) << "an equal text goes after the ones there";
                    EXPECT_EQ(c.AddString(u"com10"), 3) << "equal in any case";
                }),
        0)
        << "the dialog ran";
    EXPECT_EQ(dialog.Notifications(), 0) << "what the program does notifies nothing";
}

TEST(ComboBox, EditFieldKeepsItsTextWhileItemsChangeAndTakesTheSelectedItemsText) {
    ComboDialog dialog;
    ASSERT_EQ(RunWith(dialog,
                      [&] {
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
                          EXPECT_EQ(c.GetWindowText(), u"AT")
                              << "selecting the selected item again still sets the text";
                          c.DeleteString(1);
                          EXPECT_EQ(c.GetCurSel(), ui::CB_ERR);
                          EXPECT_EQ(c.GetWindowText(), u"AT")
                              << "deleting the selected item leaves the edit text";
                      }),
              0)
        << "the dialog ran";
    EXPECT_EQ(dialog.Notifications(), 0) << "what the program does notifies nothing";
}

TEST(ComboBox, EditSelectionPacksStartAndEnd) {
    ComboDialog dialog;
    ASSERT_EQ(RunWith(dialog,
                      [&] {
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
                      }),
              0)
        << "the dialog ran";
    EXPECT_EQ(dialog.Notifications(), 0) << "what the program does notifies nothing";
}

TEST(ComboBox, SelectionSetsTheEditFieldAndABadIndexOrResetClearsIt) {
    ComboDialog dialog;
    ASSERT_EQ(RunWith(dialog,
                      [&] {
                          ui::ComboBox& c = dialog.edit;
                          c.InsertString(0, u"AT+VER?");
                          c.InsertString(0, u"AT");
                          EXPECT_EQ(c.SetCurSel(1), 1);
                          EXPECT_EQ(c.GetWindowText(), u"AT+VER?");
                          EXPECT_EQ(c.GetCurSel(), 1);
                          EXPECT_EQ(c.SetCurSel(5), ui::CB_ERR);
                          EXPECT_EQ(c.GetCurSel(), ui::CB_ERR) << "a bad index clears the selection";
                          EXPECT_EQ(c.GetWindowText(), u"");
                          c.SetCurSel(0);
                          c.ResetContent();
                          EXPECT_EQ(c.GetCount(), 0);
                          EXPECT_EQ(c.GetWindowText(), u"");
                      }),
              0)
        << "the dialog ran";
    EXPECT_EQ(dialog.Notifications(), 0);
}

}  // namespace
