#pragma once

// COLORREF (0x00BBGGRR) at the Qt edge.

#include <QColor>

#include "res/WinDefs.h"

namespace ui {

inline QColor ToQColor(COLORREF color) {
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                  static_cast<int>((color >> 16) & 0xFF));
}

inline COLORREF FromQColor(const QColor& color) {
    return static_cast<COLORREF>((color.red() & 0xFF) | ((color.green() & 0xFF) << 8) |
                                 ((color.blue() & 0xFF) << 16));
}

}  // namespace ui
