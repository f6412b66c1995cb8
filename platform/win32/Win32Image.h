#pragma once

// The layer's pictures at the Win32 edge.

#include "platform/Image.h"
#include "platform/win32/GdiplusImage.h"

namespace ui::win32 {

// nullptr for a null image.
const GdiplusImage* PictureOf(const Image& image);

}  // namespace ui::win32
