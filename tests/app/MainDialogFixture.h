#pragma once

// The main dialog's tests on either backend share this fixture.

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "app/CTarnelManagerDlg.h"
#include "platform/TestHooks.h"
#include "tests/app/DialogDriver.h"
#include "tests/app/ScopedProfile.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/ModalRecorder.h"
#include "tests/support/ProcessEvents.h"
#include "tests/support/SimModule.h"
#include "tests/support/WaitUntil.h"

namespace tarnel::app::test {

using namespace std::chrono_literals;
using ComAnswer = std::function<void(ComPortCfgDlg&)>;

inline constexpr auto kDeadline = 20s;

inline bool WaitFor(const std::function<bool()>& condition) {
    return tarnel::test::WaitUntil(condition, kDeadline, ui::test::ProcessEvents);
}

inline ComAnswer OkIn(int mode) {
    return [mode](ComPortCfgDlg& dlg) {
        Click(dlg, mode == ComPortCfgDlg::MODE_TERMINAL ? ComPortCfgDlg::IDC_MODE_TERMINAL
                                                        : ComPortCfgDlg::IDC_MODE_CONFIGURATOR);
        Click(dlg, ui::IDOK);
    };
}

inline std::u16string Utf16(const std::string& ascii) {
    return {ascii.begin(), ascii.end()};
}

// A port that no system has, and the box that opening it brings.
#ifdef _WIN32
inline constexpr char kMissingPort[] = "COM219";
inline constexpr int kMissingPortError = 2;  // ERROR_FILE_NOT_FOUND
#else
inline constexpr char kMissingPort[] = "/dev/tarnel-test-no-such-port";
inline constexpr int kMissingPortError = ENOENT;
#endif
inline std::u16string MissingPortBox(std::u16string_view unableToOpen) {
    const std::string reason = std::system_category().message(kMissingPortError);
    return std::u16string(unableToOpen) + u": " + Utf16(reason);
}

// The program's main dialog against the module simulator,
// with the COM port dialog answered from a queue (Cancel when it is empty)
// and every message box recorded and answered with OK.
class CTarnelManagerDlgTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(m_sim.Start());
        m_ports = {m_sim.SlavePath()};
    }

    void Answer(ComAnswer answer) { m_answers.push_back(std::move(answer)); }

    // Runs the main dialog modally; `body` acts while it shows, then the
    // dialog is closed. Returns what the modal run returned.
    int RunMain(const std::function<void(CTarnelManagerDlg&)>& body) {
        CTarnelManagerDlg dlg([this](std::vector<PortName>& ports) {
            ports.assign(m_ports.begin(), m_ports.end());
            return std::error_code{};
        });
        ui::SetMainWnd(&dlg);
        ui::test::ModalRecorder recorder([&](ui::Dialog& shown) {
            m_shown.push_back(shown.GetTemplateId());
            if (auto* com = dynamic_cast<ComPortCfgDlg*>(&shown)) {
                if (m_answers.empty()) return com->EndDialog(ui::IDCANCEL);
                ComAnswer answer = std::move(m_answers.front());
                m_answers.pop_front();
                return answer(*com);
            }
            if (&shown == &dlg) body(dlg);
            shown.EndDialog(kClosedByTest);
        });
        const int result = dlg.DoModal();
        ui::SetMainWnd(nullptr);
        return result;
    }

    int Shown(int templateId) const { return static_cast<int>(std::ranges::count(m_shown, templateId)); }
    int Received(const std::string& command) const {
        return static_cast<int>(std::ranges::count(m_sim.Commands(), command));
    }
    std::u16string PortStatus() const {
        return Utf16(m_sim.SlavePath()) + u", 9600, No parity, 1 stopbit, No flow control";
    }

    // The configurator's port is open and the module's settings are shown.
    bool ConfiguratorReady(CTarnelManagerDlg& dlg) const {
        return dlg.StatusBar().GetPaneText(0) == PortStatus() && dlg.ConfPage().IsPortOpen() &&
               dlg.ConfPage().GetDlgItem(TarnelConfPage::IDC_APPLY)->IsWindowEnabled();
    }
    bool TerminalReady(CTarnelManagerDlg& dlg) const {
        return dlg.StatusBar().GetPaneText(0) == PortStatus() && TerminalEnabled(dlg);
    }
    // The terminal page enables its controls only while its port is open.
    static bool TerminalEnabled(CTarnelManagerDlg& dlg) {
        return dlg.TermPage().GetDlgItem(SerialTermPage::IDC_SEND)->IsWindowEnabled();
    }

    static constexpr int kClosedByTest = 4242;

    ScopedProfile m_profile;
    ui::test::MessageBoxRecorder m_boxes;
    tarnel::test::SimModule m_sim;
    std::vector<std::string> m_ports;
    std::deque<ComAnswer> m_answers;
    std::vector<int> m_shown;
};

}  // namespace tarnel::app::test
