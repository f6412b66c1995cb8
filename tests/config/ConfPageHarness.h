#pragma once

// The configurator page as a user meets it: shown in a stand-in main window,
// its port opened on a simulated module (see SimModule.h), its message boxes
// answered and recorded.

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "config/TarnelConfPage.h"
#include "platform/TestHooks.h"
#include "platform/Window.h"
#include "sim/SimConfig.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/SimModule.h"

namespace tarnel::test {

using namespace std::chrono_literals;

// Stands in for the main dialog: counts the "Setup COM port" commands the
// page posts to it.
class MainWindowStandIn : public ui::Window {
public:
    MainWindowStandIn();
    ~MainWindowStandIn() override;
    int SetupRequests() const { return m_setupRequests; }

protected:
    // Looks at the command's id as posted, in 16 bits: ids above 0x7FFF do
    // not reach a message map entry (the layer reads the id as signed).
    ui::LRESULT WindowProc(ui::UINT message, ui::WPARAM wParam, ui::LPARAM lParam) override;

private:
    int m_setupRequests = 0;
};

class ConfPageHarness {
public:
    explicit ConfPageHarness(sim::SimConfig config = {});
    ~ConfPageHarness();

    std::error_code Open(uint32_t baud = 9600);

    // Pumps the window thread's events until `condition` holds.
    bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 15s);
    // The page is idle after a successful read: Apply is enabled again.
    bool WaitIdle(std::chrono::milliseconds timeout = 15s);
    bool WaitForBox(int stringId, std::chrono::milliseconds timeout = 15s);
    bool WaitForCommand(const std::string& command, std::chrono::milliseconds timeout = 15s);
    // Pumps events for `period` so that anything still due can show up.
    void Settle(std::chrono::milliseconds period);

    std::u16string Text(int id) const;
    void SetText(int id, const std::u16string& text);
    bool Enabled(int id) const;
    // Clicks the middle of control `id` as a person does, through the
    // stand-in window; a click that another widget would catch fails the test.
    void Click(int id);
    template <class Control>
    Control& Get(int id) const {
        return dynamic_cast<Control&>(*page.GetDlgItem(id));
    }

    // The string ids of the boxes shown so far, and one box's style.
    std::vector<int> BoxIds() const;
    ui::UINT StyleOf(int stringId) const;
    // How often the module has received exactly this command line (no CR).
    int CommandCount(const std::string& command) const;
    std::vector<std::string> Commands() const { return module.Commands(); }

    SimModule module;
    ui::test::MessageBoxRecorder boxes;
    MainWindowStandIn mainWindow;
    TarnelConfPage page;
};

// A module address as the page shows it.
std::u16string AddressText(const sim::BdAddress& address);

}  // namespace tarnel::test
