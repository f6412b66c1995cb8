#pragma once

#include <chrono>
#include <functional>

#include "platform/Dialog.h"

namespace terminal_test {

// The top-level window that test pages live in. It stands in for the
// program's main window and counts the "Setup COM port" commands it gets.
class HostDialog : public ui::Dialog {
public:
    HostDialog();
    // Places `page` at the top left of the client area and fits the client
    // area to it, as the program's main window does, so that a click at any
    // of the page's controls lands inside the window.
    void Hold(ui::Window& page);
    int setupComPortCommands = 0;

protected:
    ui::LRESULT WindowProc(ui::UINT message, ui::WPARAM wParam, ui::LPARAM lParam) override;
};

// Runs `body` while the host window exists (a modal run ended when the body
// returns) and is the main window. The pages created in it are destroyed
// with it before this returns.
void WithHostWindow(const std::function<void(HostDialog& host)>& body);

// Waits for `condition` while processing the window thread's events.
bool WaitFor(const std::function<bool()>& condition,
             std::chrono::milliseconds timeout = std::chrono::milliseconds(10000));

// Processes the window thread's events for a while: for checks that
// something does not happen, after the thing that would cause it.
void Settle(std::chrono::milliseconds duration = std::chrono::milliseconds(300));

}  // namespace terminal_test
