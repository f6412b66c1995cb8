#include "terminal/SerialTermPage.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/Profile.h"
#include "platform/ProfileValues.h"
#include "platform/TestHooks.h"
#include "tests/support/PersonInput.h"
#include "tests/terminal/OpenPage.h"
#include "tests/terminal/TerminalTestHost.h"

namespace {

using namespace std::chrono_literals;
using terminal_test::ClearLineEndProfile;
using terminal_test::ControlsEnabled;
using terminal_test::HostDialog;
using terminal_test::OpenPage;
using terminal_test::WaitFor;
using terminal_test::WithOpenPage;

namespace profile = ui::profile;

std::u16string Shown(const SerialTermPage& page) {
    return page.m_view.GetWindowText();
}

void SetCheck(ui::Button& box, bool checked) {
    if ((box.GetCheck() == ui::BST_CHECKED) != checked) box.Click();
}

TEST(SerialTermPage, LineEndBoxesFollowTheProfileAndWriteOnlyTheirOwnValue) {
    struct Case {
        const char* name;
        std::optional<int> cr;
        std::optional<int> lf;
        bool crChecked;
        bool lfChecked;
    };
    const std::vector<Case> cases = {
        {"empty profile", {}, {}, true, false},
        {"both off", 0, 0, false, false},
        {"LF only", 0, 1, false, true},
        {"any non-zero value checks", 7, 2, true, true},
    };
    for (const Case& c : cases) {
        ClearLineEndProfile();
        if (c.cr) ui::WriteProfileInt(profile::kSection, profile::kLineEndCR, *c.cr);
        if (c.lf) ui::WriteProfileInt(profile::kSection, profile::kLineEndLF, *c.lf);
        SerialTermPage page;
        terminal_test::WithHostWindow([&](HostDialog& host) {
            ASSERT_TRUE(page.Create(&host));
            EXPECT_EQ(page.m_chkCR.GetCheck() == ui::BST_CHECKED, c.crChecked) << c.name;
            EXPECT_EQ(page.m_chkLF.GetCheck() == ui::BST_CHECKED, c.lfChecked) << c.name;
            EXPECT_EQ(page.m_chkHex.GetCheck(), ui::BST_UNCHECKED) << c.name;
            EXPECT_EQ(page.m_view.m_lineEndCR, c.crChecked) << c.name;
            EXPECT_EQ(page.m_view.m_lineEndLF, c.lfChecked) << c.name;
        });
    }

    ClearLineEndProfile();
    {
        SerialTermPage page;
        terminal_test::WithHostWindow([&](HostDialog& host) {
            ASSERT_TRUE(page.Create(&host));
            page.m_chkLF.Click();
            EXPECT_TRUE(page.m_view.m_lineEndCR);
            EXPECT_TRUE(page.m_view.m_lineEndLF);
        });
    }
    EXPECT_EQ(ui::GetProfileInt(profile::kSection, profile::kLineEndLF, -1), 1);
    EXPECT_EQ(ui::GetProfileInt(profile::kSection, profile::kLineEndCR, -1), -1);
    SerialTermPage restarted;
    terminal_test::WithHostWindow([&](HostDialog& host) {
        ASSERT_TRUE(restarted.Create(&host));
        EXPECT_EQ(restarted.m_chkCR.GetCheck(), ui::BST_CHECKED);
        EXPECT_EQ(restarted.m_chkLF.GetCheck(), ui::BST_CHECKED);
        restarted.m_chkCR.Click();
        EXPECT_FALSE(restarted.m_view.m_lineEndCR);
    });
    EXPECT_EQ(ui::GetProfileInt(profile::kSection, profile::kLineEndCR, -1), 0);
}

// The whole way of a line: click into the input line, type, click Send or
// press Enter, with the line end and the hexadecimal reading ticked by
// clicks.
TEST(SerialTermPage, ALineTypedAndSentByClickOrEnterReachesThePort) {
    using tarnel::test::ClickOn;
    using tarnel::test::TypeText;
    WithOpenPage([](OpenPage& f, HostDialog&) {
        ClickOn(f.page.m_history);
        TypeText(u"AT+VER?");
        ClickOn(*f.page.GetDlgItem(SerialTermPage::IDC_SEND));
        EXPECT_EQ(terminal_test::ReceivePumping(f.pty, 8), "AT+VER?\r");

        ClickOn(f.page.m_chkLF);
        ClickOn(f.page.m_history);
        TypeText(u"ATI");
        tarnel::test::PressKey(ui::VK_RETURN);
        EXPECT_EQ(terminal_test::ReceivePumping(f.pty, 5), "ATI\r\n");

        ClickOn(f.page.m_chkCR);
        ClickOn(f.page.m_chkHex);
        ClickOn(f.page.m_history);
        TypeText(u"4142");
        tarnel::test::PressKey(ui::VK_RETURN);
        EXPECT_EQ(terminal_test::ReceivePumping(f.pty, 3), "AB\n");
        terminal_test::Settle();
        EXPECT_EQ(f.pty.ReceiveIdle(200ms), "") << "each line is sent once";
        EXPECT_EQ(f.page.m_history.GetLBText(0), u"4142");
        EXPECT_EQ(f.page.m_history.GetLBText(2), u"AT+VER?");
        EXPECT_EQ(f.boxes.Count(), 0u);
    });
}

std::string Bytes(std::initializer_list<int> values) {
    std::string bytes;
    for (int v : values)
        bytes.push_back(static_cast<char>(v));
    return bytes;
}

TEST(SerialTermPage, SendConvertsTheLineOrShowsWhyNot) {
    struct Case {
        const char* name;
        std::u16string line;
        bool hex, cr, lf;
        std::string sent;  // empty: nothing may arrive
        int messageId;     // 0: no message
        std::u16string history;
    };
    const std::u16string longLine(513, u'a');
    const std::vector<Case> cases = {
        {"text with CR", u"AT", false, true, false, "AT\r", 0, u"AT"},
        {"text, no line end", u"\uD55C", false, false, false, Bytes({0xED, 0x95, 0x9C}), 0, u"\uD55C"},
        {"text keeps its spaces", u"  AT  ", false, false, true, "  AT  \n", 0, u"AT"},
        {"hex with CR LF", u"0d0A", true, true, true, Bytes({0x0D, 0x0A, 0x0D, 0x0A}), 0, u"0d0A"},
        {"hex bad digit", u"0G", true, true, false, "", 104, u"0G"},
        {"hex odd length", u"0 1", true, false, false, "", 103, u"0 1"},
        {"hex separator", u"0 12", true, false, false, "", 104, u"0 12"},
        {"text too long", longLine, false, true, false, "", 102, longLine},
    };
    WithOpenPage([&](OpenPage& f, HostDialog&) {
        auto* send = dynamic_cast<ui::Button*>(f.page.GetDlgItem(1076));
        ASSERT_NE(send, nullptr);
        for (const Case& c : cases) {
            const std::size_t boxesBefore = f.boxes.Count();
            SetCheck(f.page.m_chkHex, c.hex);
            SetCheck(f.page.m_chkCR, c.cr);
            SetCheck(f.page.m_chkLF, c.lf);
            f.page.m_history.SetWindowText(c.line);
            send->Click();
            if (c.sent.empty()) {
                EXPECT_EQ(f.pty.ReceiveIdle(200ms), "") << c.name;
            } else {
                EXPECT_EQ(f.pty.Receive(c.sent.size(), 5s), c.sent) << c.name;
            }
            ASSERT_EQ(f.boxes.Count(), boxesBefore + (c.messageId != 0 ? 1 : 0)) << c.name;
            if (c.messageId != 0) {
                EXPECT_EQ(f.boxes.Calls().back().stringId, c.messageId) << c.name;
                EXPECT_EQ(f.boxes.Calls().back().style, ui::MB_ICONERROR) << c.name;
            }
            EXPECT_EQ(f.page.m_history.GetLBText(0), c.history) << c.name;
            EXPECT_EQ(f.page.m_history.GetWindowText(), u"") << c.name;
        }
        // Sent lines are not shown: only what the device sends is.
        EXPECT_EQ(Shown(f.page), u"");

        const int entries = f.page.m_history.GetCount();
        send->Click();
        EXPECT_EQ(f.pty.ReceiveIdle(200ms), "");
        EXPECT_EQ(f.page.m_history.GetCount(), entries);
    });
}

TEST(SerialTermPage, UnpluggedDeviceClosesThePortOnceAndAsksForAnotherPort) {
    WithOpenPage([](OpenPage& f, HostDialog& host) {
        f.pty.Send("hello");
        ASSERT_TRUE(WaitFor([&] { return Shown(f.page) == u"hello"; }));
        f.pty.Unplug();
        ASSERT_TRUE(WaitFor([&] { return host.setupComPortCommands > 0; }));
        terminal_test::Settle();
        EXPECT_EQ(host.setupComPortCommands, 1);
        ASSERT_EQ(f.boxes.Count(), 1u);
        EXPECT_EQ(f.boxes.Calls()[0].stringId, SerialTermPage::IDS_SERIAL_ERROR);
        EXPECT_EQ(f.boxes.Calls()[0].style, ui::MB_ICONERROR);
        EXPECT_FALSE(f.page.m_view.m_channel->IsOpen());
        EXPECT_EQ(Shown(f.page), u"");
        EXPECT_TRUE(ControlsEnabled(f.page, false));
    });
}

TEST(SerialTermPage, ErrorsPostedTogetherGiveOneMessage) {
    WithOpenPage([](OpenPage& f, HostDialog& host) {
        f.page.PostMessage(SerialTermPage::WM_PORT_ERROR, 5, 0);
        f.page.PostMessage(SerialTermPage::WM_PORT_ERROR, 5, 0);
        ASSERT_TRUE(WaitFor([&] { return host.setupComPortCommands > 0; }));
        terminal_test::Settle();
        EXPECT_EQ(f.boxes.Count(), 1u);
        EXPECT_EQ(host.setupComPortCommands, 1);
    });
}

TEST(SerialTermPage, ClosingEmptiesTheViewAndReopeningWorks) {
    WithOpenPage([](OpenPage& f, HostDialog&) {
        f.pty.Send("before");
        ASSERT_TRUE(WaitFor([&] { return Shown(f.page) == u"before"; }));
        f.page.ClosePort();
        EXPECT_EQ(Shown(f.page), u"");
        EXPECT_TRUE(ControlsEnabled(f.page, false));
        terminal_test::Settle(200ms);
        EXPECT_EQ(Shown(f.page), u"");

        ASSERT_FALSE(f.Open());
        EXPECT_TRUE(ControlsEnabled(f.page, true));
        f.pty.Send("after");
        EXPECT_TRUE(WaitFor([&] { return Shown(f.page) == u"after"; }));
        f.page.m_history.SetWindowText(u"AT");
        f.page.SendMessage(ui::WM_COMMAND, 1076, 0);
        EXPECT_EQ(f.pty.Receive(3, 5s), "AT\r");
    });
}

}  // namespace
