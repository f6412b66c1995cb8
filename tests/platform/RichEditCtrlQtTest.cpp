#include "platform/RichEditCtrl.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>

#include <string>

#include "platform/qt/WindowAccess.h"
#include "tests/platform/RichEditDialog.h"

// What the Qt widget under the layer's rich edit does; the layer's part is
// RichEditCtrlTest.cpp.

namespace {

using platform_test::CountingEdit;
using platform_test::RichEditDialog;
using platform_test::RunWith;

// The widget's own cursor, which typing and painting use, follows the
// control's selection once events run.
TEST(QtRichEditCtrl, TheWidgetsCursorFollowsTheSelectionBeforeItHandlesInput) {
    RichEditDialog dialog;
    RunWith(dialog, [](CountingEdit& view) {
        auto* edit = qobject_cast<QPlainTextEdit*>(ui::QWidgetOf(view));
        view.ReplaceSel(u"one\r\ntwo");
        view.SetSel(0, 3);
        long start = 0;
        long end = 0;
        view.GetSel(start, end);
        EXPECT_EQ(start, 0);
        EXPECT_EQ(end, 3);
        QCoreApplication::processEvents();
        EXPECT_EQ(edit->textCursor().selectionStart(), 0);
        EXPECT_EQ(edit->textCursor().selectionEnd(), 3);
        view.SetSel(7, 7);
        QTest::keyClicks(edit, "!");
        EXPECT_EQ(view.GetWindowText(), u"one\r\ntwo!") << "typed at the selection set last";
    });
}

TEST(QtRichEditCtrl, TypedTextGoesThroughTheLimitAndThereIsNoUndo) {
    RichEditDialog dialog;
    RunWith(dialog, [](CountingEdit& view) {
        view.LimitText(3);
        QWidget* widget = ui::QWidgetOf(view);
        QTest::keyClicks(widget, "abcd");
        EXPECT_EQ(view.GetWindowText(), u"abc");
        EXPECT_EQ(view.maxText, 1);
        EXPECT_FALSE(qobject_cast<QPlainTextEdit*>(widget)->document()->isUndoAvailable());
    });
}

TEST(QtRichEditCtrl, ScrollInformationTellsWhetherTheViewIsAtItsEnd) {
    RichEditDialog dialog;
    RunWith(dialog, [](CountingEdit& view) {
        view.MoveWindow(0, 0, 200, 60);
        std::u16string lines;
        for (int i = 0; i < 200; ++i)
            lines += u"line\r\n";
        view.SetWindowText(lines);
        ui::SCROLLINFO info;
        ASSERT_TRUE(view.GetScrollInfo(ui::SB_VERT, info));
        EXPECT_FALSE(view.GetScrollInfo(0, info)) << "only the vertical bar";
        ASSERT_TRUE(view.GetScrollInfo(ui::SB_VERT, info));
        EXPECT_GT(info.nMax, static_cast<int>(info.nPage));
        view.ScrollToBottom();
        ASSERT_TRUE(view.GetScrollInfo(ui::SB_VERT, info));
        EXPECT_GE(info.nPos, info.nMax - static_cast<int>(info.nPage) + 1);
        qobject_cast<QPlainTextEdit*>(ui::QWidgetOf(view))->verticalScrollBar()->setValue(0);
        ASSERT_TRUE(view.GetScrollInfo(ui::SB_VERT, info));
        EXPECT_LT(info.nPos, info.nMax - static_cast<int>(info.nPage) + 1);
    });
}

TEST(QtRichEditCtrl, RedrawOffStopsPaintingUntilItIsOnAgain) {
    RichEditDialog dialog;
    RunWith(dialog, [](CountingEdit& view) {
        view.SetRedraw(false);
        EXPECT_FALSE(ui::QWidgetOf(view)->updatesEnabled());
        view.ReplaceSel(u"text");
        view.SetRedraw(true);
        EXPECT_TRUE(ui::QWidgetOf(view)->updatesEnabled());
        EXPECT_EQ(view.GetTextLength(), 4);
    });
}

}  // namespace
