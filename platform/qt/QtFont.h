#pragma once

// The layer's fonts at the Qt edge.

#include <QFont>

#include "platform/Font.h"

namespace ui {

struct Font::Impl {
    QFont font;
};

inline const QFont& ToQFont(const Font& font) {
    return font.GetImpl().font;
}

inline Font FromQFont(const QFont& font) {
    return Font(std::make_shared<const Font::Impl>(Font::Impl{font}));
}

}  // namespace ui
