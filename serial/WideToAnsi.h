#pragma once

#include <optional>
#include <string>
#include <string_view>

// Converts UTF-16 text from the system to the ANSI code page, the one asio's
// narrow open uses for port names. No value when a character has no exact
// equivalent there: a look-alike would name another port, or none.
std::optional<std::string> WideToAnsi(std::wstring_view text);
