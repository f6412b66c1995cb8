#include "platform/RichEditCtrl.h"

#include <gtest/gtest.h>

#include <string>

// Before the Windows headers, whose macros have the names of the layer's
// constants.
#include "tests/platform/RichEditDialog.h"

#include "platform/win32/Win32.h"
// After the Windows headers: see platform/win32/Win32.h.
#include "platform/win32/WindowAccess.h"

namespace {

using platform_test::CountingEdit;
using platform_test::RichEditDialog;
using platform_test::RunWith;

// What the native rich edit does beyond the layer's part, which
// tests/platform/ checks.

// A line longer than the control is wide wraps on the screen, but is still
// one line up to its break: deleting it with its break leaves the next whole.
TEST(Win32RichEditCtrl, AWrappedLineIsDeletedWithItsBreakAlone) {
    RichEditDialog dialog;
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

TEST(Win32RichEditCtrl, ScrollsToTheBottomInsertsInTheTextColourAndKeepsNoUndo) {
    RichEditDialog dialog;
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
    RichEditDialog dialog;
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
