#include "platform/ComboBox.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

// Before the Windows headers, whose macros have the names of the layer's
// constants.
#include "tests/platform/ComboDialog.h"

#include "tests/platform/win32/PersonInput.h"
#include "tests/support/ProcessEvents.h"
#include "tests/support/WaitUntil.h"

// A person's typing on the native control; the layer's part is
// tests/platform/ComboBoxTest.cpp.

namespace {

using platform_test::ComboDialog;
using platform_test::RunWith;

TEST(Win32ComboBox, APersonsTypingIsReflectedAsEditUpdatesButTextSetByTheProgramIsNot) {
    ComboDialog dialog;
    ASSERT_EQ(
        RunWith(dialog,
                [&] {
                    dialog.edit.SetWindowText(u"x");
                    dialog.edit.SetWindowText(u"");
                    dialog.edit.SetFocus();
                    for (WORD key : {'A', 'T'})
                        tarnel::test::PressKey(key);
                    EXPECT_TRUE(tarnel::test::WaitUntil([&] { return dialog.edit.updates.size() == 2; },
                                                        std::chrono::seconds(5), ui::test::ProcessEvents));
                    EXPECT_EQ(dialog.edit.updates, (std::vector<std::u16string>{u"a", u"at"}));
                }),
        0)
        << "the dialog ran";
    EXPECT_EQ(dialog.editChanges, 2) << "two edit changes";
    EXPECT_EQ(dialog.Notifications(), 2) << "the reflected edit updates stay with the control";
}

}  // namespace
