#pragma once

// The terminal page in a host window with its port open on a line whose far
// end a test scripts, and what its tests share.

#include <chrono>
#include <functional>
#include <string>
#include <system_error>

#include "platform/TestHooks.h"
#include "terminal/SerialTermPage.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/ScriptedDevice.h"
#include "tests/terminal/TerminalTestHost.h"

namespace terminal_test {

struct OpenPage {
    SerialTermPage page;
    tarnel::test::ScriptedDevice pty;
    ui::test::MessageBoxRecorder boxes;

    std::error_code Open();
};

// Runs `body` with the page open in a host window, the line-end profile
// values cleared first.
void WithOpenPage(const std::function<void(OpenPage&, HostDialog&)>& body);

// Makes the line-end boxes' profile values read as missing.
void ClearLineEndProfile();

// Whether the page's input controls are all `enabled`.
bool ControlsEnabled(const SerialTermPage& page, bool enabled);

// Reads what the port sent until `count` bytes arrived or the deadline
// passed, while processing the window thread's events.
std::string ReceivePumping(tarnel::test::FarEnd& pty, std::size_t count,
                           std::chrono::milliseconds timeout = std::chrono::milliseconds(10000));

}  // namespace terminal_test
