#pragma once

// The terminal view in a host window, its channel open on a line whose far
// end a test scripts when asked, and what its tests share.

#include <atomic>
#include <functional>
#include <initializer_list>
#include <string>

#include "platform/PropertyPage.h"
#include "terminal/TermRichedit.h"
#include "tests/support/ScriptedDevice.h"

namespace terminal_test {

// The view, counting the receive notifications it gets.
class CountingView : public TermRichedit {
public:
    int notifications = 0;
    ui::LRESULT WindowProc(ui::UINT message, ui::WPARAM wParam, ui::LPARAM lParam) override {
        if (message == WM_RX_DATA) ++notifications;
        return TermRichedit::WindowProc(message, wParam, lParam);
    }
};

class ViewPage : public ui::PropertyPage {
public:
    ViewPage();
    CountingView view;

protected:
    void DoDataExchange(ui::DataExchange& dx) override;
    bool OnInitDialog() override;
};

struct ViewFixture {
    ViewPage page;
    CountingView& view = page.view;
    tarnel::test::ScriptedDevice pty;
    std::atomic<int> errors{0};

    void Open();
    void Close();
};

// Runs `body` with the view shown in a host window; with `open`, its
// channel is open on `pty` for the body's run.
void WithView(bool open, const std::function<void(ViewFixture&)>& body);

// The view's text with each line break as LF.
std::u16string Shown(const TermRichedit& view);

std::string Bytes(std::initializer_list<int> values);

}  // namespace terminal_test
