#pragma once

#include <optional>
#include <string>
#include <string_view>

// Converts UTF-16 text from the system to the narrow code page `codePage`
// (CP_UTF8, what tarnelctl takes and prints, or another). No value when a character has no exact equivalent
// there (a look-alike would name another port, or none) or the text is not valid UTF-16.
std::optional<std::string> WideToNarrow(std::wstring_view text, unsigned codePage);
