#pragma once

// What only the Linux terminal tests need: a read from the pseudo-terminal
// that keeps the window thread's events going, a key sent straight to a
// widget.

#include <chrono>
#include <string>

class QWidget;

namespace tarnel::test {
class PtyPair;
}

namespace terminal_test {

// Reads what the port sent until `count` bytes arrived or the deadline
// passed, while processing the window thread's events.
std::string ReceivePumping(tarnel::test::PtyPair& pty, std::size_t count,
                           std::chrono::milliseconds timeout = std::chrono::milliseconds(10000));

// Sends a key press (and its release) to `widget` as the keyboard would.
void PressKey(QWidget* widget, int qtKey, const std::u16string& text = {});

}  // namespace terminal_test
