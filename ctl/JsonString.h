#pragma once

#include <string>
#include <string_view>

namespace tarnel::ctl {

// `bytes` as a quoted JSON string that any strict parser reads. Well-formed
// UTF-8 passes unchanged; quote, backslash and control characters are
// escaped; every byte that is not part of well-formed UTF-8 becomes U+FFFD,
// since JSON text must be UTF-8.
std::string JsonString(std::string_view bytes);

}  // namespace tarnel::ctl
