#pragma once

// What a person does at the program's windows, on either backend: a click
// lands on a point of a top-level window and the toolkit's own hit testing
// decides which control gets it; keys go to whatever holds the focus. Each
// call returns once the program has handled the input.

#include <string_view>

#include "res/WinDefs.h"

namespace ui {
class Window;
}

namespace tarnel::test {

// The modifier keys held with a key; they combine.
enum Modifiers : unsigned { kNoModifier = 0, kShift = 1, kControl = 2, kAlt = 4 };

// A point of a control from its top left corner; kCentre is its middle.
struct Offset {
    int x = -1;
    int y = -1;
};
inline constexpr Offset kCentre{};

// Clicks with the left button where a person aims at `control`: `offset`
// from its top left corner, on its top-level window. Returns the window of
// the layer that hit testing found there (the nearest one holding the
// control under the point), to check that a click reached its aim; nullptr
// when the point lies outside the top-level window.
ui::Window* ClickOn(const ui::Window& control, Offset offset = kCentre);
// Presses one key (a virtual-key code: ui::VK_RETURN, 'A', '1') into the
// focused window, a modal box included, and releases it, with the text a
// keyboard gives (Ctrl with a letter gives its control character).
void PressKey(ui::UINT virtualKey, unsigned modifiers = kNoModifier);
// Types `text` into the focused window, one key press per character.
void TypeText(std::u16string_view text);

}  // namespace tarnel::test
