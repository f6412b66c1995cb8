#pragma once

// The form of a resource text in the UI language.

#include <string_view>

#include "res/ResourceTypes.h"

namespace ui {

// The Korean form in Korean when there is one, else the English form.
std::u16string_view Localized(const res::Text& text);
// The Korean rectangle in Korean where the template gives one.
res::Rect Localized(const res::ControlTemplate& control);

}  // namespace ui
