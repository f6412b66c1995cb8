#pragma once

// The Windows system colours the custom controls paint with, taken from the
// toolkit's palette. COLORREF is 0x00BBGGRR.

#include "res/WinDefs.h"

namespace ui {

inline constexpr int COLOR_BTNFACE = 15;
inline constexpr int COLOR_BTNSHADOW = 16;
inline constexpr int COLOR_GRAYTEXT = 17;
inline constexpr int COLOR_BTNTEXT = 18;
inline constexpr int COLOR_BTNHIGHLIGHT = 20;

constexpr COLORREF RGB(int r, int g, int b) {
    return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

// The colour of one of the COLOR_ indices above. A dialog's background is the
// button face on Windows, so COLOR_BTNFACE is the palette's window colour.
// Black for any other index.
COLORREF GetSysColor(int index);

}  // namespace ui
