#pragma once

// What the backend offers the shared message boxes: the toolkit's own box.

#include <string_view>

#include "res/WinDefs.h"

namespace ui {

class OpenBox;

struct BoxLook {
    std::u16string_view caption;
    std::u16string_view text;
    UINT style;  // the icon (MB_ICON...) and the buttons (MB_OK or MB_OKCANCEL)
    std::u16string_view okText;
    std::u16string_view cancelText;
};

// Window thread: shows the box modally over the active modal window (else
// the main window) and returns once it is closed: true when OK was chosen.
// Sets `open`'s closer, which takes the box down.
bool ShowToolkitBox(const BoxLook& look, OpenBox& open);

}  // namespace ui
