#include "platform/ListCtrl.h"

#include <gtest/gtest.h>

#include "platform/Dialog.h"
#include "platform/TestHooks.h"
#include "tests/platform/TestTemplates.h"
#include "tests/support/ModalRecorder.h"

// The layer's list control, the same on every backend; how a backend draws
// its rows is checked beside it.

namespace {

TEST(ListCtrl, RowsOfColumnsAndTheSelection) {
    ui::Dialog dialog(platform_test::kModal);
    ui::test::ModalRecorder modal([](ui::Dialog& d) {
        auto& list = dynamic_cast<ui::ListCtrl&>(*d.GetDlgItem(40));
        EXPECT_EQ(list.InsertItem(0, u"no columns yet"), -1);
        list.SetExtendedStyle(ui::LVS_EX_FULLROWSELECT | ui::LVS_EX_GRIDLINES);
        EXPECT_EQ(list.InsertColumn(0, u"BD ADDR", ui::LVCFMT_LEFT, 100), 0);
        EXPECT_EQ(list.InsertColumn(1, u"Name"), 1);
        EXPECT_EQ(list.InsertColumn(-1, u"bad"), -1);
        EXPECT_EQ(list.InsertItem(0, u"0011223344AA"), 0);
        EXPECT_EQ(list.InsertItem(list.GetItemCount(), u"0011223344BB"), 1);
        EXPECT_EQ(list.InsertItem(99, u"0011223344CC"), 2) << "past the end appends";
        EXPECT_EQ(list.InsertItem(1, u"0011223344AB"), 1) << "in between";
        EXPECT_TRUE(list.SetItemText(1, 1, u"이름"));
        EXPECT_FALSE(list.SetItemText(1, 5, u"x"));
        EXPECT_FALSE(list.SetItemText(4, 0, u"x"));
        const std::u16string longName(300, u'n');
        EXPECT_TRUE(list.SetItemText(3, 1, longName));
        struct Case {
            int item;
            int subItem;
            std::u16string text;
        };
        for (const Case& c : {Case{1, 0, u"0011223344AB"}, Case{1, 1, u"이름"}, Case{2, 0, u"0011223344BB"},
                              Case{3, 0, u"0011223344CC"}, Case{3, 1, longName}, Case{0, 1, u""},
                              Case{7, 0, u""}, Case{0, 9, u""}})
            EXPECT_EQ(list.GetItemText(c.item, c.subItem), c.text) << c.item << ',' << c.subItem;

        EXPECT_EQ(list.GetNextItem(-1, ui::LVNI_SELECTED), -1);
        EXPECT_TRUE(list.SetItemState(1, ui::LVIS_SELECTED, ui::LVIS_SELECTED));
        EXPECT_EQ(list.GetNextItem(-1, ui::LVNI_SELECTED), 1);
        EXPECT_EQ(list.GetNextItem(1, ui::LVNI_SELECTED), -1);
        list.SetItemState(1, 0, ui::LVIS_SELECTED);
        EXPECT_EQ(list.GetNextItem(-1, ui::LVNI_SELECTED), -1);
        EXPECT_FALSE(list.SetItemState(-1, ui::LVIS_SELECTED, ui::LVIS_SELECTED)) << "not every row";

        EXPECT_TRUE(list.DeleteAllItems());
        EXPECT_EQ(list.GetItemCount(), 0);
        d.EndDialog(0);
    });
    ASSERT_EQ(dialog.DoModal(), 0) << "the dialog ran";
}

}  // namespace
