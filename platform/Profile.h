#pragma once

// The per-user settings store, by section and value name, on QSettings with
// organisation "Quillmore" and application "Tarnel Manager"
// (~/.config/Quillmore/Tarnel Manager.conf on Linux). Each write is stored at
// once; nothing is cached. Window thread only.

#include <string>
#include <string_view>

namespace ui {

// The integer value, or `defaultValue` when the value is missing, not an
// integer in decimal, or outside the range of int.
int GetProfileInt(std::u16string_view section, std::u16string_view entry, int defaultValue);
// The string value, or `defaultValue` when it is missing or not a single
// string.
std::u16string GetProfileString(std::u16string_view section, std::u16string_view entry,
                                std::u16string_view defaultValue = {});
// Whether the value was stored; a failed write changes nothing and is
// otherwise ignored by the program.
bool WriteProfileInt(std::u16string_view section, std::u16string_view entry, int value);
bool WriteProfileString(std::u16string_view section, std::u16string_view entry, std::u16string_view value);

// Tests: keep the store in `directory` instead of the user's configuration
// directory; an empty directory goes back to the user's.
void SetProfileDirectory(const std::string& directory);

}  // namespace ui
