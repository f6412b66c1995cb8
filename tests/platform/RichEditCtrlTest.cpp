#include "platform/RichEditCtrl.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/platform/RichEditDialog.h"

// The layer's rich edit, the same on every backend; what only a toolkit's own
// control shows (its cursor, undo, scroll bar, colours, input method) is
// checked beside it.

namespace {

using platform_test::CountingEdit;
using platform_test::RichEditDialog;
using platform_test::RunWith;

TEST(RichEditCtrl, EveryKindOfLineBreakCountsAsOneCharacter) {
    RichEditDialog dialog;
    RunWith(dialog, [](CountingEdit& view) {
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
    });
}

TEST(RichEditCtrl, LinesAreFoundFromCharactersAndCharactersFromLines) {
    RichEditDialog dialog;
    RunWith(dialog, [](CountingEdit& view) {
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
    });
}

TEST(RichEditCtrl, PositionsCountEveryLineBreakOnceAndLinesAreFoundBothWays) {
    RichEditDialog dialog;
    RunWith(dialog, [](CountingEdit& view) {
        EXPECT_EQ(view.GetLimitText(), 32767);
        view.ReplaceSel(u"ab\r\ncd\ref\n\ngh");  // lines start at 0, 3, 6, 9 and 10
        EXPECT_EQ(view.GetTextLength(), 12);
        EXPECT_EQ(view.GetWindowText(), u"ab\r\ncd\r\nef\r\n\r\ngh");
        EXPECT_EQ(view.GetLineCount(), 5);
        long start = 0;
        long end = 0;
        view.GetSel(start, end);
        EXPECT_EQ(start, 12) << "the caret ends after the inserted text";
        struct Case {
            long charIndex;
            int line;
            long lineIndex;
            int length;
        };
        for (const Case& c : {Case{0, 0, 0, 2}, Case{2, 0, 0, 2}, Case{3, 1, 3, 2}, Case{8, 2, 6, 2},
                              Case{9, 3, 9, 0}, Case{12, 4, 10, 2}, Case{500, 4, 10, 2}}) {
            EXPECT_EQ(view.LineFromChar(c.charIndex), c.line) << c.charIndex;
            EXPECT_EQ(view.LineIndex(c.line), c.lineIndex) << c.charIndex;
            EXPECT_EQ(view.LineLength(c.charIndex), c.length) << c.charIndex;
        }
        EXPECT_EQ(view.LineIndex(5), -1) << "no such line";
        view.SetSel(4, 4);
        EXPECT_EQ(view.LineFromChar(-1), 1) << "the caret's line";
        EXPECT_EQ(view.LineIndex(-1), 3);
        EXPECT_EQ(view.LineLength(-1), 2);

        struct Selection {
            long start;
            long end;
            long gotStart;
            long gotEnd;
        };
        for (const Selection& c : {Selection{0, -1, 0, 12}, Selection{2, 4, 2, 4}, Selection{3, -1, 3, 12},
                                   Selection{100, 200, 12, 12}}) {
            view.SetSel(c.start, c.end);
            view.GetSel(start, end);
            EXPECT_EQ(start, c.gotStart) << c.start << ',' << c.end;
            EXPECT_EQ(end, c.gotEnd) << c.start << ',' << c.end;
        }
        view.SetSel(-1, -1);
        view.GetSel(start, end);
        EXPECT_EQ(start, end) << "-1 removes the selection";
    });
}

TEST(RichEditCtrl, SelectionReplacementAndDeletionOfTheFirstLine) {
    RichEditDialog dialog;
    RunWith(dialog, [](CountingEdit& view) {
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
    });
}

TEST(RichEditCtrl, InsertionBeyondTheLimitKeepsWhatFitsAndReflectsEnMaxText) {
    RichEditDialog dialog;
    RunWith(dialog, [&](CountingEdit& view) {
        for (const platform_test::LimitCase& c : platform_test::kLimitCases) {
            view.LimitText(c.limit);
            view.SetWindowText(c.before);
            view.SetSel(view.GetTextLength(), view.GetTextLength());
            const int before = view.maxText;
            view.ReplaceSel(c.insert);
            EXPECT_EQ(view.GetWindowText(), c.after) << c.limit;
            EXPECT_EQ(view.maxText - before, c.notified ? 1 : 0) << c.limit;
        }
        view.LimitText(6);
        view.SetWindowText(u"abcdef");
        view.SetSel(2, 4);
        view.ReplaceSel(u"XYZ");
        EXPECT_EQ(view.GetWindowText(), u"abXYef") << "only what stays of the text counts";
    });
    EXPECT_EQ(dialog.parentMaxText, 0) << "a reflected notification stays with the control";
}

TEST(RichEditCtrl, ReplacingASelectionCountsOnlyWhatStays) {
    RichEditDialog dialog;
    RunWith(dialog, [](CountingEdit& view) {
        view.LimitText(6);
        view.SetWindowText(u"abcdef");
        view.SetSel(2, 4);
        view.ReplaceSel(u"XYZ");
        EXPECT_EQ(view.GetWindowText(), u"abXYef");
        EXPECT_EQ(view.maxText, 1);
    });
}

}  // namespace
