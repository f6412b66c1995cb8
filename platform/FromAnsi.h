#pragma once

#include <string>

// Converts `text` from the locale's character set (the ANSI code page of
// port names and system messages; UTF-8 in practice) to UTF-16. Bytes that
// do not decode become U+FFFD.
namespace ui {

std::u16string FromAnsi(const std::string& text);

}  // namespace ui
