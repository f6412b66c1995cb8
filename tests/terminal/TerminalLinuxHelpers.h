#pragma once

// What only the Linux terminal tests need: a key sent straight to a widget.

#include <string>

class QWidget;

namespace terminal_test {

// Sends a key press (and its release) to `widget` as the keyboard would.
void PressKey(QWidget* widget, int qtKey, const std::u16string& text = {});

}  // namespace terminal_test
