#include "platform/win32/Win32.h"
// After the Windows headers: see platform/win32/Win32.h.
#include "platform/RichEditCtrl.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/DataExchange.h"
#include "platform/Dialog.h"
#include "platform/TestHooks.h"
#include "platform/win32/WindowAccess.h"
#include "tests/platform/CountingEdit.h"
#include "tests/platform/TestTemplates.h"
#include "tests/support/ModalRecorder.h"

namespace {

using platform_test::CountingEdit;

class EditDialog : public ui::Dialog {
public:
    EditDialog() : ui::Dialog(platform_test::kModal) {
        MapCommand(60, &EditDialog::OnParentMaxText, EN_MAXTEXT);
    }
    CountingEdit view;
    int parentMaxText = 0;

protected:
    void DoDataExchange(ui::DataExchange& dx) override { ui::DDX_Control(dx, 60, view); }

private:
    void OnParentMaxText() { ++parentMaxText; }
};

void RunWith(EditDialog& dialog, const std::function<void(CountingEdit&)>& body) {
    ui::test::ModalRecorder modal([&](ui::Dialog& d) {
        body(dialog.view);
        d.EndDialog(0);
    });
    ASSERT_EQ(dialog.DoModal(), 0) << "the dialog ran";
}

TEST(Win32RichEditCtrl, PositionsCountEveryLineBreakOnceAndLinesAreFoundBothWays) {
    EditDialog dialog;
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

// A line longer than the control is wide wraps on the screen, but is still
// one line up to its break: deleting it with its break leaves the next whole.
TEST(Win32RichEditCtrl, AWrappedLineIsDeletedWithItsBreakAlone) {
    EditDialog dialog;
    RunWith(dialog, [](CountingEdit& view) {
        SendMessageW(ui::HwndOf(view), EM_SETTARGETDEVICE, 0, 0);  // wraps at the window's width
        const std::u16string longLine(400, u'w');
        view.SetWindowText(longLine + u"\r\nnext\r\n");
        ASSERT_GT(view.GetLineCount(), 3) << "the long line wraps";
        EXPECT_EQ(view.LineLength(0), 400);
        view.SetSel(0, view.LineLength(0) + 1);
        view.ReplaceSel(u"");
        EXPECT_EQ(view.GetWindowText(), u"next\r\n");
    });
}

TEST(Win32RichEditCtrl, InsertionBeyondTheLimitKeepsWhatFitsAndReflectsEnMaxText) {
    EditDialog dialog;
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

TEST(Win32RichEditCtrl, ScrollsToTheBottomInsertsInTheTextColourAndKeepsNoUndo) {
    EditDialog dialog;
    RunWith(dialog, [](CountingEdit& view) {
        HWND hwnd = ui::HwndOf(view);
        view.SetUndoLimit(0);
        view.ShowScrollBar(SB_VERT);
        view.SetBackgroundColor(0);
        view.SetTextColor(0xFFFFFF);
        view.SetWindowText(u"old");
        CHARFORMAT2W format{};
        format.cbSize = sizeof(format);
        SendMessageW(hwnd, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
        for (int i = 0; i < 60; ++i)
            view.ReplaceSel(u"line\r\n");
        view.SetSel(4, 8);
        SendMessageW(hwnd, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
        EXPECT_EQ(format.crTextColor, 0xFFFFFFu);
        EXPECT_FALSE(SendMessageW(hwnd, EM_CANUNDO, 0, 0));

        ui::SCROLLINFO info;
        EXPECT_FALSE(view.GetScrollInfo(0, info)) << "only the vertical bar";
        view.ScrollToBottom();
        ASSERT_TRUE(view.GetScrollInfo(SB_VERT, info));
        EXPECT_GT(info.nMax, static_cast<int>(info.nPage));
        // Windows' rich edit ends at nMax - nPage + 1; Wine's one short of that.
        EXPECT_GE(info.nPos, info.nMax - static_cast<int>(info.nPage)) << "at its end";
    });
}

// The input method's messages as the system sends them to the window with
// the focus.
TEST(Win32RichEditCtrl, AComposedResultGoesToTheHandlerInsteadOfTheText) {
    EditDialog dialog;
    RunWith(dialog, [](CountingEdit& view) {
        std::u16string results;
        int composing = 0;
        view.SetInputMethodHandlers([&](std::u16string_view text) { results += text; }, [&] { ++composing; });
        HWND hwnd = ui::HwndOf(view);
        SendMessageW(hwnd, WM_IME_COMPOSITION, 0, GCS_COMPSTR);
        EXPECT_EQ(composing, 1);
        SendMessageW(hwnd, WM_IME_COMPOSITION, 0xD55C, GCS_RESULTSTR);
        EXPECT_EQ(composing, 2);
        EXPECT_EQ(results, u"\uD55C");
        SendMessageW(hwnd, WM_IME_COMPOSITION, 0, 0);
        EXPECT_EQ(composing, 2) << "neither a composition nor a result";
        EXPECT_EQ(view.GetWindowText(), u"") << "the result is not inserted";
    });
}

}  // namespace
