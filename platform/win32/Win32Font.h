#pragma once

// The layer's fonts at the Win32 edge: a logical font and the GDI font made
// from it, which lives as long as the font value's last copy.

#include "platform/win32/Win32.h"

namespace ui {

struct Font::Impl {
    explicit Impl(const LOGFONTW& logFont) : log(logFont), font(CreateFontIndirectW(&logFont)) {}
    ~Impl() {
        if (font != nullptr) DeleteObject(font);
    }
    Impl(const Impl&) = delete;
    Impl& operator=(const Impl&) = delete;

    LOGFONTW log;
    HFONT font;
};

namespace win32 {

inline HFONT ToHFont(const Font& font) {
    return font.GetImpl().font;
}

// The font as the dialog manager or a control reports it.
Font FromHFont(HFONT font);

}  // namespace win32
}  // namespace ui
