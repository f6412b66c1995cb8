#pragma once

#include <string>

// A UTF-8 path or name as the system's wide calls take it; what is not well
// formed becomes U+FFFD.
std::wstring Utf8ToWide(const std::string& utf8);
