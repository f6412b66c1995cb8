#pragma once

// Bytes in a code page as UTF-16, the system's way: a sequence that does not
// decode becomes U+FFFD.

#include <string>
#include <string_view>

namespace ui::win32 {

std::u16string DecodeCodePage(unsigned codePage, std::string_view bytes);

}  // namespace ui::win32
