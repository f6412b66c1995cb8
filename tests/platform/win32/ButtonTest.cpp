#include "platform/win32/Win32.h"
// After the Windows headers: see platform/win32/Win32.h.
#include "platform/Button.h"

#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "platform/Dialog.h"
#include "platform/TestHooks.h"
#include "platform/win32/WindowAccess.h"
#include "tests/platform/TestTemplates.h"
#include "tests/platform/win32/PersonInput.h"
#include "tests/support/ModalRecorder.h"
#include "tests/support/ProcessEvents.h"
#include "tests/support/WaitUntil.h"

namespace {

class ClickDialog : public ui::Dialog {
public:
    ClickDialog() : ui::Dialog(platform_test::kModal) { MapCommandRange(10, 80, &ClickDialog::OnClicked); }
    std::vector<ui::UINT> clicked;

private:
    void OnClicked(ui::UINT id) { clicked.push_back(id); }
};

ui::Button& ButtonOf(ui::Dialog& d, int id) {
    return dynamic_cast<ui::Button&>(*d.GetDlgItem(id));
}

std::vector<int> Checks(ui::Dialog& d, std::initializer_list<int> ids) {
    std::vector<int> checks;
    for (int id : ids)
        checks.push_back(ButtonOf(d, id).GetCheck());
    return checks;
}

TEST(Win32Button, ClicksToggleCheckBoxesCheckOneRadioOfTheGroupAndNotifyTheParent) {
    ClickDialog dialog;
    ui::test::ModalRecorder modal([&](ui::Dialog& d) {
        ButtonOf(d, 23).SetCheck(BST_CHECKED);
        ButtonOf(d, 10).Click();
        EXPECT_EQ(ButtonOf(d, 10).GetCheck(), BST_CHECKED);
        ButtonOf(d, 21).Click();
        EXPECT_EQ(Checks(d, {20, 21, 22, 23}), (std::vector<int>{0, 1, 0, 1}))
            << "the other group keeps its radio";
        ButtonOf(d, 22).Click();
        EXPECT_EQ(Checks(d, {20, 21, 22, 23}), (std::vector<int>{0, 0, 1, 1}));
        ButtonOf(d, 80).Click();

        // A person's click at the check box, found by the system's hit testing.
        tarnel::test::ClickAt(ui::HwndOf(ButtonOf(d, 10)));
        EXPECT_TRUE(tarnel::test::WaitUntil([&] { return ButtonOf(d, 10).GetCheck() == BST_UNCHECKED; },
                                            std::chrono::seconds(5), ui::test::ProcessEvents));
        d.EndDialog(0);
    });
    ASSERT_EQ(dialog.DoModal(), 0) << "the dialog ran";
    EXPECT_EQ(dialog.clicked, (std::vector<ui::UINT>{10, 21, 22, 80, 10}));
}

}  // namespace
