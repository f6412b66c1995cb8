#include "platform/DialogUnits.h"

#include <algorithm>

namespace ui {

DialogUnits DialogUnits::FromFont(int lettersWidth, int lineHeight) {
    return {std::max(1, (lettersWidth / 26 + 1) / 2), std::max(1, lineHeight)};
}

RECT DialogUnits::ToPixels(const res::Rect& rect) const {
    const int left = rect.x * cx / 4;
    const int top = rect.y * cy / 8;
    return {left, top, left + rect.cx * cx / 4, top + rect.cy * cy / 8};
}

}  // namespace ui
