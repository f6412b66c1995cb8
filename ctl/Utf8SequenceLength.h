#pragma once

#include <cstddef>
#include <string_view>

namespace tarnel::ctl {

// The length (1 to 4) of the well-formed UTF-8 sequence that starts at
// `text[pos]`, or 0 when the byte there starts none: a stray continuation
// byte, a cut-off sequence, an overlong form, a surrogate or a code point
// above U+10FFFF.
std::size_t Utf8SequenceLength(std::string_view text, std::size_t pos);

}  // namespace tarnel::ctl
