#pragma once

#include <cstdint>
#include <string_view>

namespace tarnel::ctl {

// True when `text` is nothing but decimal digits whose value is at most
// `max`; then `value` holds it. No sign, blank or "0x" is accepted.
bool ParseUnsigned(std::string_view text, uint64_t max, uint64_t& value);

}  // namespace tarnel::ctl
