#pragma once

#include <string>

namespace ui {

// The string `id` of the string table in the UI language (the English text
// where a Korean one is missing); empty when the table has no such string.
std::u16string LoadString(int id);

}  // namespace ui
