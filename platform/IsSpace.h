#pragma once

namespace ui {

// Whether a UTF-16 unit is white space in Unicode, not only an ASCII blank:
// input methods type full-width and no-break spaces.
bool IsSpace(char16_t unit);

}  // namespace ui
