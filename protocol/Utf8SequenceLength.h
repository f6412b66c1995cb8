#pragma once

#include <cstddef>
#include <string_view>

// What a byte promises as the start of a UTF-8 sequence: the sequence's
// length (1 to 4; 0 when the byte starts none) and the range its second byte
// must lie in, which rules out overlong forms, surrogates and code points
// above U+10FFFF. Every later byte lies in 0x80 to 0xBF.
struct Utf8Lead {
    std::size_t length;
    unsigned char secondLow;
    unsigned char secondHigh;
};

Utf8Lead Utf8LeadOf(unsigned char byte);

// The length (1 to 4) of the well-formed UTF-8 sequence that starts at
// `text[pos]`, or 0 when the byte there starts none: a stray continuation
// byte, a cut-off sequence, an overlong form, a surrogate or a code point
// above U+10FFFF.
std::size_t Utf8SequenceLength(std::string_view text, std::size_t pos);
