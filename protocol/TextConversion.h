#pragma once

// UTF-16 text to the narrow forms the module, the ports and the terminal use.
// An unpaired surrogate is not rejected: it becomes U+FFFD.

#include <string>
#include <string_view>

// Converts the NUL-terminated `text` to UTF-8 into `out` (resized to exactly
// the converted length) and returns that length. Null or empty text gives
// an empty string and 0.
int ToUtf8(const char16_t* text, std::string& out);
// The same for every unit of `text`, embedded NULs included.
int ToUtf8(std::u16string_view text, std::string& out);

// Converts the NUL-terminated `text` to the locale's character set (LC_CTYPE;
// UTF-8 in practice) into `out` and returns the byte count. A character the
// character set cannot express becomes '?'.
int ToAnsi(const char16_t* text, std::string& out);
