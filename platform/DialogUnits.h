#pragma once

// Template geometry: dialog units become pixels with the template font's
// average character width cx and height cy (x * cx / 4, y * cy / 8).

#include "platform/Window.h"
#include "res/ResourceTypes.h"

namespace ui {

struct DialogUnits {
    int cx = 1;
    int cy = 1;

    // From the width of the 52 letters A-Z and a-z and the line height of the
    // font, rounded as Windows measures a dialog font.
    static DialogUnits FromFont(int lettersWidth, int lineHeight);
    RECT ToPixels(const res::Rect& rect) const;
};

}  // namespace ui
