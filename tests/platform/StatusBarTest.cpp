#include "platform/StatusBar.h"

#include <gtest/gtest.h>

#include "platform/Dialog.h"
#include "platform/LoadString.h"
#include "platform/TestHooks.h"
#include "tests/platform/TestTemplates.h"
#include "tests/support/ModalRecorder.h"

// The layer's status bar, the same on every backend; what a backend shows on
// the screen is checked beside it.

namespace {

TEST(StatusBar, PanesStartWithTheirStringsAndTheBarKeepsToTheBottom) {
    ui::Dialog dialog(platform_test::kModal);
    ui::StatusBar bar;
    ui::test::ModalRecorder modal([&](ui::Dialog& d) {
        ASSERT_TRUE(bar.Create(&d));
        EXPECT_FALSE(bar.Create(&d)) << "exists already";
        EXPECT_EQ(bar.GetDlgCtrlID(), ui::AFX_IDW_STATUS_BAR);
        ASSERT_TRUE(bar.SetIndicators({107, 109}));
        EXPECT_EQ(bar.GetPaneCount(), 2);
        EXPECT_EQ(bar.GetPaneText(0), ui::LoadString(107));
        bar.SetPaneInfo(0, 107, ui::SBPS_NORMAL, 150);
        bar.SetPaneInfo(1, 109, ui::SBPS_STRETCH, 0);
        EXPECT_TRUE(bar.SetPaneText(1, u"Version 1.1.0"));
        EXPECT_EQ(bar.GetPaneText(1), u"Version 1.1.0");
        EXPECT_EQ(bar.GetPaneText(0), ui::LoadString(107)) << "panes keep their order";
        EXPECT_FALSE(bar.SetPaneText(2, u"none"));
        const std::u16string text = u"Opened: C:\\a\\very\\long\\path\\to\\the\\port\\COM3 at 115200";
        EXPECT_TRUE(bar.SetPaneText(0, text, 8, 40));
        EXPECT_EQ(bar.GetPaneText(0), text) << "the whole text, as set";

        for (int height : {200, 320}) {
            d.SetClientSize(400, height);
            ui::RECT client;
            d.GetClientRect(client);
            ui::RECT rect;
            bar.GetWindowRect(rect);
            d.ScreenToClient(rect);
            EXPECT_EQ(rect.bottom, client.bottom) << height;
            EXPECT_EQ(rect.Height(), bar.GetBarHeight());
            EXPECT_EQ(rect.Width(), client.Width());
        }
        d.EndDialog(0);
    });
    ASSERT_EQ(dialog.DoModal(), 0) << "the dialog ran";
    EXPECT_FALSE(bar.IsWindow()) << "the bar goes with its parent";
}

}  // namespace
