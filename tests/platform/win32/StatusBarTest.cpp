#include "platform/win32/Win32.h"
// After the Windows headers: see platform/win32/Win32.h.
#include "platform/StatusBar.h"

#include <gtest/gtest.h>

#include "platform/Dialog.h"
#include "platform/LoadString.h"
#include "platform/TestHooks.h"
#include "platform/win32/Wide.h"
#include "platform/win32/WindowAccess.h"
#include "tests/platform/TestTemplates.h"
#include "tests/support/ModalRecorder.h"

// What the native status bar shows; the layer's part is tests/platform/.

namespace {

// What the pane shows on the screen.
std::u16string Shown(const ui::StatusBar& bar, int index) {
    wchar_t text[256] = {};
    SendMessageW(ui::HwndOf(bar), SB_GETTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
    return ui::win32::FromWide(text);
}

TEST(Win32StatusBar, PanesShowTheirTextsStretchShortenAPartAndKeepToTheBottom) {
    ui::Dialog dialog(platform_test::kModal);
    ui::StatusBar bar;
    ui::test::ModalRecorder modal([&](ui::Dialog& d) {
        ASSERT_TRUE(bar.Create(&d));
        ASSERT_TRUE(bar.SetIndicators({107, 109}));
        EXPECT_EQ(Shown(bar, 0), ui::LoadString(107));
        bar.SetPaneInfo(0, 107, ui::SBPS_STRETCH, 0);
        bar.SetPaneInfo(1, 109, ui::SBPS_NORMAL, 100);

        const std::u16string text = u"Opened: C:\\a\\very\\long\\path\\to\\the\\port\\COM3 at 115200";
        const int whole = bar.GetPaneWidthFor(0, text);
        for (int width : {whole + 100 + 20, whole / 2 + 100}) {
            d.SetClientSize(width, 200);
            EXPECT_TRUE(bar.SetPaneText(0, text, 8, 40));
            EXPECT_EQ(bar.GetPaneText(0), text) << "the whole text, as set";
            const std::u16string shown = Shown(bar, 0);
            if (width > whole + 100) {
                EXPECT_EQ(shown, text) << width;
            } else {
                EXPECT_LT(shown.size(), text.size()) << width;
                EXPECT_EQ(shown.substr(0, 8), text.substr(0, 8)) << "only the part gives way";
                EXPECT_NE(shown.find(u'\u2026'), std::u16string::npos);
                EXPECT_EQ(shown.substr(shown.size() - 10), text.substr(text.size() - 10));
            }
            ui::RECT client;
            d.GetClientRect(client);
            ui::RECT rect;
            bar.GetWindowRect(rect);
            d.ScreenToClient(rect);
            EXPECT_EQ(rect.bottom, client.bottom) << width;
            EXPECT_EQ(rect.Width(), client.Width());
        }
        d.EndDialog(0);
    });
    ASSERT_EQ(dialog.DoModal(), 0) << "the dialog ran";
}

}  // namespace
