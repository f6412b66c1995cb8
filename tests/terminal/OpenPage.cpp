#include "tests/terminal/OpenPage.h"

#include <gtest/gtest.h>

#include "platform/Profile.h"
#include "platform/ProfileValues.h"

namespace terminal_test {
namespace {

constexpr int kControlIds[] = {1075, 1076, 1083, 1084, 1085, 1086};

}  // namespace

std::error_code OpenPage::Open() {
    const std::string& port = pty.SlavePath();
    return page.OpenPort(std::u16string(port.begin(), port.end()), 115200, 0, 0, 0, 8);
}

void WithOpenPage(const std::function<void(OpenPage&, HostDialog&)>& body) {
    ClearLineEndProfile();
    OpenPage f;
    f.pty.HoldSlave();
    WithHostWindow([&](HostDialog& host) {
        ASSERT_TRUE(f.page.Create(&host));
        host.Hold(f.page);
        f.page.ShowWindow(ui::SW_SHOW);
        ASSERT_FALSE(f.Open());
        body(f, host);
    });
}

void ClearLineEndProfile() {
    // A value of the wrong type reads as missing.
    ui::WriteProfileString(ui::profile::kSection, ui::profile::kLineEndCR, u"x");
    ui::WriteProfileString(ui::profile::kSection, ui::profile::kLineEndLF, u"x");
}

bool ControlsEnabled(const SerialTermPage& page, bool enabled) {
    for (int id : kControlIds) {
        if (page.GetDlgItem(id)->IsWindowEnabled() != enabled) return false;
    }
    return true;
}

std::string ReceivePumping(tarnel::test::FarEnd& pty, std::size_t count, std::chrono::milliseconds timeout) {
    std::string got;
    WaitFor(
        [&] {
            got += pty.Receive(count - got.size(), std::chrono::milliseconds(10));
            return got.size() >= count;
        },
        timeout);
    return got;
}

}  // namespace terminal_test
