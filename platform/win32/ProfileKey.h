#pragma once

// Where the Win32 profile keeps its values: the registry key under
// HKEY_CURRENT_USER that holds one subkey per section,
// Software\Quillmore\Tarnel Manager as the program's registry key and its
// name give it.

#include <string>
#include <string_view>

namespace ui::win32 {

inline constexpr std::u16string_view kProfileKey = u"Software\\Quillmore\\Tarnel Manager";

std::u16string ProfileKey();
// Tests: keep the values under `key` instead; an empty key goes back to the
// program's own.
void SetProfileKey(std::u16string_view key);

}  // namespace ui::win32
