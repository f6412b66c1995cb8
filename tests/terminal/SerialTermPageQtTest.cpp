// The terminal page's checks that reach into Qt's widgets or open a port by
// its Linux path.

#include "terminal/SerialTermPage.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionButton>
#include <string>

#include "platform/Profile.h"
#include "platform/ProfileValues.h"
#include "platform/qt/WindowAccess.h"
#include "tests/support/UserInput.h"
#include "tests/terminal/OpenPage.h"
#include "tests/terminal/TerminalLinuxHelpers.h"
#include "tests/terminal/TerminalTestHost.h"

namespace {

using namespace std::chrono_literals;
using terminal_test::ControlsEnabled;
using terminal_test::HostDialog;
using terminal_test::OpenPage;
using terminal_test::PressKey;
using terminal_test::WithOpenPage;

namespace profile = ui::profile;

bool Checked(const ui::Button& box) {
    return box.GetCheck() == ui::BST_CHECKED;
}

// The middle of a check box's text, where a person aims at the text.
QPoint TextOf(QCheckBox& box) {
    QStyleOptionButton option;
    option.initFrom(&box);
    option.text = box.text();
    return box.style()->subElementRect(QStyle::SE_CheckBoxContents, &option, &box).center();
}

// A person ticks a box by clicking its square or its text; each click
// toggles it and the line-end boxes write their profile value.
TEST(SerialTermPage, ClicksOnTheCheckBoxesAndTheirTextsTickThem) {
    using tarnel::test::ClickOn;
    WithOpenPage([](OpenPage& f, HostDialog&) {
        struct Box {
            ui::Button& button;
            std::u16string_view profileValue;  // empty: not kept
        };
        for (const Box& box : {Box{f.page.m_chkCR, profile::kLineEndCR},
                               Box{f.page.m_chkLF, profile::kLineEndLF}, Box{f.page.m_chkHex, {}}}) {
            auto& widget = *qobject_cast<QCheckBox*>(ui::QWidgetOf(box.button));
            const QPoint square(6, widget.height() / 2);
            for (const QPoint at : {square, TextOf(widget)}) {
                const bool before = Checked(box.button);
                EXPECT_EQ(ClickOn(widget, at), &widget) << box.button.GetDlgCtrlID();
                EXPECT_NE(Checked(box.button), before) << box.button.GetDlgCtrlID();
                if (!box.profileValue.empty()) {
                    EXPECT_EQ(ui::GetProfileInt(profile::kSection, box.profileValue, -1),
                              Checked(box.button) ? 1 : 0)
                        << box.button.GetDlgCtrlID();
                }
            }
        }
        EXPECT_EQ(f.page.m_view.m_lineEndCR, Checked(f.page.m_chkCR));
        EXPECT_EQ(f.page.m_view.m_lineEndLF, Checked(f.page.m_chkLF));
    });
}

TEST(SerialTermPage, OpenPortFailureLeavesThePageClosed) {
    SerialTermPage page;
    terminal_test::WithHostWindow([&](HostDialog& host) {
        ASSERT_TRUE(page.Create(&host));
        page.ClosePort();
        const std::error_code error = page.OpenPort(u"/dev/tarnel-no-such-port", 9600, 0, 0, 0, 8);
        EXPECT_EQ(error, std::error_code(ENOENT, std::system_category()));
        EXPECT_FALSE(page.m_view.m_channel->IsOpen());
        EXPECT_TRUE(ControlsEnabled(page, false));
    });
}

TEST(SerialTermPage, EnterInTheInputLineSendsOnce) {
    WithOpenPage([](OpenPage& f, HostDialog&) {
        f.page.m_history.SetFocus();
        QLineEdit* edit = qobject_cast<QComboBox*>(ui::QWidgetOf(f.page.m_history))->lineEdit();
        edit->setText("ATI");
        PressKey(edit, Qt::Key_Return, u"\r");
        EXPECT_EQ(terminal_test::ReceivePumping(f.pty, 4), "ATI\r");
        terminal_test::Settle();
        EXPECT_EQ(f.pty.ReceiveIdle(200ms), "");
        EXPECT_EQ(f.page.m_history.GetLBText(0), u"ATI");
        EXPECT_EQ(f.boxes.Count(), 0u);
    });
}

}  // namespace
