#pragma once

// The layer's pictures at the Qt edge.

#include <QImage>

#include "platform/Image.h"

namespace ui {

struct Image::Impl {
    QImage image;
};

}  // namespace ui
