#include "platform/RichEditCtrl.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/platform/RichEditDialog.h"

// The layer's rich edit, the same on every backend; what only a toolkit's own
// control shows (its cursor, undo, scroll bar, colours, input method) is
// checked beside it.

namespace {

using platform_test::CountingEdit;
using platform_test::RichEditDialog;
using platform_test::RunWith;

// A position's line, the line's first position and its length, after the
// text is inserted.
struct Position {
    long charIndex;
    int line;
    long lineIndex;
    int length;
};

struct LineBreakCase {
    std::u16string text;
    long length;
    std::u16string windowText;
    int lines;
    std::vector<Position> positions;
};

TEST(RichEditCtrl, EveryKindOfLineBreakCountsOnceAndLinesAreFoundBothWays) {
    // clang-format off
    const LineBreakCase cases[] = {
        {u"ab\r\ncd\ref\ngh", 11, u"ab\r\ncd\r\nef\r\ngh", 4,
         {{0, 0, 0, 2}, {3, 1, 3, 2}}},
        {u"ab\r\ncd\r\n\r\nefg", 10, u"ab\r\ncd\r\n\r\nefg", 4,
         {{0, 0, 0, 2}, {2, 0, 0, 2}, {3, 1, 3, 2}, {6, 2, 6, 0},
          {7, 3, 7, 3}, {10, 3, 7, 3}, {500, 3, 7, 3}}},
        {u"ab\r\ncd\ref\n\ngh", 12, u"ab\r\ncd\r\nef\r\n\r\ngh", 5,
         {{0, 0, 0, 2}, {2, 0, 0, 2}, {3, 1, 3, 2}, {8, 2, 6, 2},
          {9, 3, 9, 0}, {12, 4, 10, 2}, {500, 4, 10, 2}}},
    };
    // clang-format on
    for (const LineBreakCase& c : cases) {
        SCOPED_TRACE(c.length);
        RichEditDialog dialog;
        RunWith(dialog, [&c](CountingEdit& view) {
            EXPECT_EQ(view.GetLimitText(), 32767);
            view.ReplaceSel(c.text);
            EXPECT_EQ(view.GetTextLength(), c.length);
            EXPECT_EQ(view.GetWindowText(), c.windowText);
            EXPECT_EQ(view.GetLineCount(), c.lines);
            long start = 0;
            long end = 0;
            view.GetSel(start, end);
            EXPECT_EQ(start, c.length) << "the caret ends after the inserted text";
            EXPECT_EQ(end, c.length);
            for (const Position& p : c.positions) {
                EXPECT_EQ(view.LineFromChar(p.charIndex), p.line) << p.charIndex;
                EXPECT_EQ(view.LineIndex(p.line), p.lineIndex) << p.charIndex;
                EXPECT_EQ(view.LineLength(p.charIndex), p.length) << p.charIndex;
            }
            EXPECT_EQ(view.LineIndex(c.lines), -1) << "no such line";
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
            for (const Selection& s :
                 {Selection{0, -1, 0, c.length}, Selection{2, 4, 2, 4}, Selection{3, -1, 3, c.length},
                  Selection{100, 200, c.length, c.length}}) {
                view.SetSel(s.start, s.end);
                view.GetSel(start, end);
                EXPECT_EQ(start, s.gotStart) << s.start << ',' << s.end;
                EXPECT_EQ(end, s.gotEnd) << s.start << ',' << s.end;
            }
            view.SetSel(-1, -1);
            view.GetSel(start, end);
            EXPECT_EQ(start, end) << "-1 removes the selection";
        });
    }
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
