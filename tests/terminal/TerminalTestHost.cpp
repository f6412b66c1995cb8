#include "tests/terminal/TerminalTestHost.h"

#include <gtest/gtest.h>

#include "platform/TestHooks.h"
#include "platform/Window.h"
#include "res/ResourceTypes.h"
#include "tests/support/ProcessEvents.h"
#include "tests/support/WaitUntil.h"

namespace terminal_test {
namespace {

const res::DialogTemplate& HostTemplate() {
    static const res::DialogTemplate host{0,
                                          {u"Host", u"Host"},
                                          u"MS Shell Dlg",
                                          8,
                                          330,
                                          260,
                                          ui::WS_POPUP | ui::WS_CAPTION | ui::WS_VISIBLE,
                                          0,
                                          0,
                                          {}};
    return host;
}

}  // namespace

HostDialog::HostDialog() : ui::Dialog(HostTemplate()) {}

void HostDialog::Hold(ui::Window& page) {
    ui::RECT rect;
    page.GetWindowRect(rect);
    page.MoveWindow(0, 0, rect.Width(), rect.Height());
    SetClientSize(rect.Width(), rect.Height());
}

ui::LRESULT HostDialog::WindowProc(ui::UINT message, ui::WPARAM wParam, ui::LPARAM lParam) {
    if (message == ui::WM_COMMAND && wParam == 32772) ++setupComPortCommands;
    return ui::Dialog::WindowProc(message, wParam, lParam);
}

void WithHostWindow(const std::function<void(HostDialog& host)>& body) {
    HostDialog host;
    ui::test::SetModalHook([&](ui::Dialog&) {
        ui::SetMainWnd(&host);
        body(host);
        host.EndDialog(ui::IDOK);
    });
    host.DoModal();
    ui::test::SetModalHook({});
    ui::SetMainWnd(nullptr);
}

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    return tarnel::test::WaitUntil(condition, timeout, [] { ui::test::ProcessEvents(); });
}

void Settle(std::chrono::milliseconds duration) {
    const auto end = std::chrono::steady_clock::now() + duration;
    WaitFor([end] { return std::chrono::steady_clock::now() >= end; }, duration * 2);
}

}  // namespace terminal_test
