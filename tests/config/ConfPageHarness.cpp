#include "tests/config/ConfPageHarness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

#include "tests/support/PersonInput.h"
#include "tests/support/ProcessEvents.h"
#include "tests/support/WaitUntil.h"

namespace tarnel::test {

MainWindowStandIn::MainWindowStandIn() {
    CreateBlank();
    // In the corner, so that all of it lies on a small screen (Wine's desktop).
    MoveWindow(0, 0, 700, 700);
    SetClientSize(700, 700);
    ShowWindow(ui::SW_SHOW);
    ui::SetMainWnd(this);
}

MainWindowStandIn::~MainWindowStandIn() {
    if (ui::AfxGetMainWnd() == this) ui::SetMainWnd(nullptr);
    DestroyWindow();
}

ui::LRESULT MainWindowStandIn::WindowProc(ui::UINT message, ui::WPARAM wParam, ui::LPARAM lParam) {
    if (message == ui::WM_COMMAND && ui::LOWORD(wParam) == TarnelConfPage::ID_SETUP_COM_PORT &&
        ui::HIWORD(wParam) == 0 && lParam == 0) {
        ++m_setupRequests;
        return 0;
    }
    return ui::Window::WindowProc(message, wParam, lParam);
}

ConfPageHarness::ConfPageHarness(sim::SimConfig config) : module(std::move(config)) {
    if (module.Start()) throw std::runtime_error("the simulated module did not start");
    if (!page.Create(&mainWindow)) throw std::runtime_error("the page was not created");
    page.ShowWindow(ui::SW_SHOW);
}

ConfPageHarness::~ConfPageHarness() {
    page.DestroyWindow();
    module.Stop();
}

std::error_code ConfPageHarness::Open(uint32_t baud) {
    const std::string path = module.SlavePath();
    return page.OpenPort(std::u16string(path.begin(), path.end()), baud, 0, 0, 0, 8);
}

bool ConfPageHarness::WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    return WaitUntil(condition, timeout, [] { ui::test::ProcessEvents(); });
}

bool ConfPageHarness::WaitIdle(std::chrono::milliseconds timeout) {
    return WaitFor([this] { return Enabled(TarnelConfPage::IDC_APPLY); }, timeout);
}

bool ConfPageHarness::WaitForBox(int stringId, std::chrono::milliseconds timeout) {
    return WaitFor(
        [&] {
            const std::vector<int> ids = BoxIds();
            return std::find(ids.begin(), ids.end(), stringId) != ids.end();
        },
        timeout);
}

bool ConfPageHarness::WaitForCommand(const std::string& command, std::chrono::milliseconds timeout) {
    return WaitFor([&] { return CommandCount(command) > 0; }, timeout);
}

void ConfPageHarness::Settle(std::chrono::milliseconds period) {
    WaitFor([] { return false; }, period);
}

std::u16string ConfPageHarness::Text(int id) const {
    return page.GetDlgItem(id)->GetWindowText();
}

void ConfPageHarness::SetText(int id, const std::u16string& text) {
    page.GetDlgItem(id)->SetWindowText(text);
}

bool ConfPageHarness::Enabled(int id) const {
    return page.GetDlgItem(id)->IsWindowEnabled();
}

void ConfPageHarness::Click(int id) {
    const ui::Window* control = page.GetDlgItem(id);
    const ui::Window* hit = ClickOn(*control);
    while (hit != nullptr && hit != control)
        hit = hit->GetParent();
    if (hit == nullptr) ADD_FAILURE() << "a click aimed at control " << id << " does not reach it";
}

std::vector<int> ConfPageHarness::BoxIds() const {
    std::vector<int> ids;
    for (const ui::test::MessageBoxCall& call : boxes.Calls())
        ids.push_back(call.stringId);
    return ids;
}

ui::UINT ConfPageHarness::StyleOf(int stringId) const {
    for (const ui::test::MessageBoxCall& call : boxes.Calls()) {
        if (call.stringId == stringId) return call.style;
    }
    return ~0u;
}

int ConfPageHarness::CommandCount(const std::string& command) const {
    const std::vector<std::string> commands = module.Commands();
    return static_cast<int>(std::count(commands.begin(), commands.end(), command));
}

std::u16string AddressText(const sim::BdAddress& address) {
    const std::string text = sim::FormatAddress(address);
    return std::u16string(text.begin(), text.end());
}

}  // namespace tarnel::test
