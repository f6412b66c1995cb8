#include "platform/Edit.h"

#include <gtest/gtest.h>

#include "platform/Dialog.h"
#include "platform/TestHooks.h"
#include "tests/platform/TestTemplates.h"
#include "tests/support/ModalRecorder.h"

namespace {

TEST(Win32Edit, SelectionReplacementAndReadOnly) {
    ui::Dialog dialog(platform_test::kModal);
    ui::test::ModalRecorder modal([](ui::Dialog& d) {
        auto& edit = dynamic_cast<ui::Edit&>(*d.GetDlgItem(11));
        edit.SetWindowText(u"0011223344AA");
        edit.SetSel(2, -1);
        int start = 0;
        int end = 0;
        edit.GetSel(start, end);
        EXPECT_EQ(start, 2);
        EXPECT_EQ(end, 12);
        edit.SetSel(4, 6);
        edit.ReplaceSel(u"xy");
        EXPECT_EQ(edit.GetWindowText(), u"0011xy3344AA");
        edit.GetSel(start, end);
        EXPECT_EQ(start, 6) << "the caret after the replacement";
        EXPECT_EQ(end, 6);
        EXPECT_FALSE(edit.IsReadOnly());
        edit.SetReadOnly();
        EXPECT_TRUE(edit.IsReadOnly());
        edit.SetReadOnly(false);
        EXPECT_FALSE(edit.IsReadOnly());
        d.EndDialog(0);
    });
    ASSERT_EQ(dialog.DoModal(), 0) << "the dialog ran";
}

}  // namespace
