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
