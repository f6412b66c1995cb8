#pragma once

// The layer's painter at the Win32 edge: the device context painted on.

#include "platform/win32/Win32.h"

namespace ui {

struct Painter::Impl {
    HDC dc;
};

}  // namespace ui
