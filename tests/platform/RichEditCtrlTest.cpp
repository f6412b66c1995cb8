#include "platform/RichEditCtrl.h"

#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>

#include "platform/DataExchange.h"
#include "platform/PropertyPage.h"
#include "platform/qt/WindowAccess.h"
#include "tests/platform/CountingEdit.h"
#include "tests/platform/TestTemplates.h"

namespace {

using platform_test::CountingEdit;

class EditPage : public ui::PropertyPage {
public:
    EditPage() : ui::PropertyPage(platform_test::kPage) {
        MapCommand(60, &EditPage::OnParentMaxText, ui::EN_MAXTEXT);
    }
    CountingEdit view;
    int parentMaxText = 0;

protected:
    void DoDataExchange(ui::DataExchange& dx) override { ui::DDX_Control(dx, 60, view); }

private:
    void OnParentMaxText() { ++parentMaxText; }
};

class RichEditCtrlTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host.CreateBlank());
        ASSERT_TRUE(page.Create(&host));
        page.ShowWindow(ui::SW_SHOW);
    }
    ui::Window host;
    EditPage page;
    CountingEdit& view = page.view;
};

TEST_F(RichEditCtrlTest, EveryKindOfLineBreakCountsAsOneCharacter) {
    EXPECT_EQ(view.GetLimitText(), 32767);
    view.ReplaceSel(u"ab\r\ncd\ref\ngh");
    EXPECT_EQ(view.GetTextLength(), 11);
    EXPECT_EQ(view.GetLineCount(), 4);
    EXPECT_EQ(view.LineLength(0), 2);
    EXPECT_EQ(view.LineLength(3), 2) << "character 3 is on the second line";
    EXPECT_EQ(view.GetWindowText(), u"ab\r\ncd\r\nef\r\ngh");
    long start = 0;
    long end = 0;
    view.GetSel(start, end);
    EXPECT_EQ(start, 11) << "the caret ends after the inserted text";
    EXPECT_EQ(end, 11);
}

TEST_F(RichEditCtrlTest, LinesAreFoundFromCharactersAndCharactersFromLines) {
    view.ReplaceSel(u"ab\r\ncd\r\n\r\nefg");  // lines start at 0, 3, 6 and 7; 10 characters
    struct Case {
        long charIndex;
        int line;
        long lineIndex;
    };
    for (const Case& c : {Case{0, 0, 0}, Case{2, 0, 0}, Case{3, 1, 3}, Case{6, 2, 6}, Case{7, 3, 7},
                          Case{10, 3, 7}, Case{500, 3, 7}}) {
        EXPECT_EQ(view.LineFromChar(c.charIndex), c.line) << c.charIndex;
        EXPECT_EQ(view.LineIndex(c.line), c.lineIndex) << c.charIndex;
    }
    EXPECT_EQ(view.LineIndex(4), -1) << "no such line";
    view.SetSel(4, 4);
    EXPECT_EQ(view.LineFromChar(-1), 1) << "the caret's line";
    EXPECT_EQ(view.LineIndex(-1), 3);
}

// The widget's own cursor, which typing and painting use, follows the
// control's selection once events run.
TEST_F(RichEditCtrlTest, TheWidgetsCursorFollowsTheSelectionBeforeItHandlesInput) {
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
}

TEST_F(RichEditCtrlTest, SelectionReplacementAndDeletionOfTheFirstLine) {
    view.SetWindowText(u"first\r\nsecond\r\n");
    EXPECT_EQ(view.GetTextLength(), 13);
    view.SetSel(0, view.LineLength(0) + 1);
    view.ReplaceSel(u"");
    EXPECT_EQ(view.GetWindowText(), u"second\r\n");
    view.SetSel(0, -1);
    long start = 0;
    long end = 0;
    view.GetSel(start, end);
    EXPECT_EQ(start, 0);
    EXPECT_EQ(end, 7);
    view.SetSel(-1, -1);
    view.GetSel(start, end);
    EXPECT_EQ(start, end) << "-1 removes the selection";
    view.SetSel(100, 200);
    view.GetSel(start, end);
    EXPECT_EQ(start, 7) << "positions past the end mean the end";
}

TEST_F(RichEditCtrlTest, InsertionBeyondTheLimitKeepsWhatFitsAndReflectsEnMaxText) {
    for (const platform_test::LimitCase& c : platform_test::kLimitCases) {
        view.LimitText(c.limit);
        view.SetWindowText(c.before);
        view.SetSel(-1, -1);
        view.SetSel(view.GetTextLength(), view.GetTextLength());
        const int before = view.maxText;
        view.ReplaceSel(c.insert);
        EXPECT_EQ(view.GetWindowText(), c.after) << c.limit;
        EXPECT_EQ(view.maxText - before, c.notified ? 1 : 0) << c.limit;
    }
    EXPECT_EQ(page.parentMaxText, 0) << "a reflected notification does not reach the parent";
}

TEST_F(RichEditCtrlTest, ReplacingASelectionCountsOnlyWhatStays) {
    view.LimitText(6);
    view.SetWindowText(u"abcdef");
    view.SetSel(2, 4);
    view.ReplaceSel(u"XYZ");
    EXPECT_EQ(view.GetWindowText(), u"abXYef");
    EXPECT_EQ(view.maxText, 1);
}

TEST_F(RichEditCtrlTest, TypedTextGoesThroughTheLimitAndThereIsNoUndo) {
    view.LimitText(3);
    QWidget* widget = ui::QWidgetOf(view);
    QTest::keyClicks(widget, "abcd");
    EXPECT_EQ(view.GetWindowText(), u"abc");
    EXPECT_EQ(view.maxText, 1);
    EXPECT_FALSE(qobject_cast<QPlainTextEdit*>(widget)->document()->isUndoAvailable());
}

TEST_F(RichEditCtrlTest, ScrollInformationTellsWhetherTheViewIsAtItsEnd) {
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
}

TEST_F(RichEditCtrlTest, RedrawOffStopsPaintingUntilItIsOnAgain) {
    view.SetRedraw(false);
    EXPECT_FALSE(ui::QWidgetOf(view)->updatesEnabled());
    view.ReplaceSel(u"text");
    view.SetRedraw(true);
    EXPECT_TRUE(ui::QWidgetOf(view)->updatesEnabled());
    EXPECT_EQ(view.GetTextLength(), 4);
}

}  // namespace
