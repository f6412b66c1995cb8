#pragma once

// Where the Win32 profile keeps its values: the registry key under
// HKEY_CURRENT_USER that holds one subkey per section,
// Software\Quillmore\Tarnel Manager as the program's registry key and its
// name give it.

#include <string>
#include <string_view>

namespace ui::win32 {

inline constexpr std::u16string_view kProfileKey = u"Software\\Quillmore\\Tarnel Manager";

// The key the values are kept under now.
std::u16string ProfileKey();
// The program's own key, set from its maker's and its own name.
std::u16string ProgramKey();
void SetProgramKey(std::u16string_view key);
// Tests: keep the values under `key` instead, whatever the program's names;
// an empty key goes back to the program's own. Gives the test key before.
std::u16string SetProfileKey(std::u16string_view key);

}  // namespace ui::win32
