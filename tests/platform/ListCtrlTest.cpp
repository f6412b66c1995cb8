#include "platform/ListCtrl.h"

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QHeaderView>
#include <QTableWidget>

#include "platform/Dialog.h"
#include "platform/TestHooks.h"
#include "platform/qt/WindowAccess.h"
#include "tests/platform/TestTemplates.h"
#include "tests/support/ModalRecorder.h"

namespace {

TEST(ListCtrl, RowsOfColumnsAndTheSelection) {
    ui::Dialog dialog(platform_test::kModal);
    ui::test::ModalRecorder modal([](ui::Dialog& d) {
        auto& list = dynamic_cast<ui::ListCtrl&>(*d.GetDlgItem(40));
        EXPECT_EQ(list.InsertItem(0, u"no columns yet"), -1);
        list.SetExtendedStyle(ui::LVS_EX_FULLROWSELECT | ui::LVS_EX_GRIDLINES);
        EXPECT_EQ(list.InsertColumn(0, u"BD ADDR", ui::LVCFMT_LEFT, 100), 0);
        EXPECT_EQ(list.InsertColumn(1, u"Name", ui::LVCFMT_LEFT, 120), 1);
        EXPECT_EQ(list.InsertItem(0, u"0011223344AA"), 0);
        EXPECT_EQ(list.InsertItem(list.GetItemCount(), u"0011223344BB"), 1);
        EXPECT_EQ(list.InsertItem(99, u"0011223344CC"), 2) << "past the end appends";
        EXPECT_TRUE(list.SetItemText(1, 1, u"이름"));
        EXPECT_FALSE(list.SetItemText(1, 5, u"x"));
        EXPECT_EQ(list.GetItemText(1, 0), u"0011223344BB");
        EXPECT_EQ(list.GetItemText(1, 1), u"이름");
        EXPECT_EQ(list.GetItemText(0, 1), u"");
        EXPECT_EQ(list.GetItemText(7, 0), u"");

        EXPECT_EQ(list.GetNextItem(-1, ui::LVNI_SELECTED), -1);
        list.SetItemState(1, ui::LVIS_SELECTED, ui::LVIS_SELECTED);
        EXPECT_EQ(list.GetNextItem(-1, ui::LVNI_SELECTED), 1);
        EXPECT_EQ(list.GetNextItem(1, ui::LVNI_SELECTED), -1);
        list.SetItemState(1, 0, ui::LVIS_SELECTED);
        EXPECT_EQ(list.GetNextItem(-1, ui::LVNI_SELECTED), -1);

        EXPECT_TRUE(list.DeleteAllItems());
        EXPECT_EQ(list.GetItemCount(), 0);
        d.EndDialog(0);
    });
    dialog.DoModal();
}

// A report list as a person sees it: one line of text per row, as high as
// the font's line and not twice that, so that many devices fit before the
// list scrolls; a name too long for its column is cut short, not wrapped.
TEST(ListCtrl, ReportRowsAreOneLineOfTheFont) {
    ui::Dialog dialog(platform_test::kModal);
    ui::test::ModalRecorder modal([](ui::Dialog& d) {
        auto& list = dynamic_cast<ui::ListCtrl&>(*d.GetDlgItem(40));
        auto* table = qobject_cast<QTableWidget*>(ui::QWidgetOf(list));
        list.InsertColumn(0, u"BD ADDR", ui::LVCFMT_LEFT, 100);
        list.InsertColumn(1, u"Name", ui::LVCFMT_LEFT, 40);
        for (int i = 0; i < 8; ++i)
            list.InsertItem(i, u"0011223344AA");
        list.SetItemText(3, 1, u"A device name far too long for its narrow column");
        const int line = QFontMetrics(table->font()).height();
        for (int row = 0; row < list.GetItemCount(); ++row) {
            EXPECT_GE(table->rowHeight(row), line) << row;
            EXPECT_LE(table->rowHeight(row), line + 6) << row;
        }
        EXPECT_FALSE(table->wordWrap());
        EXPECT_EQ(table->textElideMode(), Qt::ElideRight);
        d.EndDialog(0);
    });
    dialog.DoModal();
}

}  // namespace
