#pragma once

#include <string>
#include <string_view>

namespace ui {

// UTF-8 bytes (from the module) as UTF-16 text; a malformed sequence becomes
// U+FFFD.
std::u16string FromUtf8(std::string_view bytes);

}  // namespace ui
