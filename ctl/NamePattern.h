#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "protocol/BdAddr.h"

namespace tarnel::ctl {

// The device name pattern of provision: text with the placeholders
//   {n}      the module's number, counting from --first
//   {n:0W}   the same, padded with zeros to W digits (W 1 to 9)
//   {addr6}  the last six hexadecimal digits of the module's address
// and "{{" and "}}" for literal braces.
class NamePattern {
public:
    // Reads `text`. Returns the empty string on success, else what is wrong
    // (the pattern is then empty).
    std::string Parse(std::string_view text);

    std::string Expand(uint64_t number, const BdAddr& address) const;

private:
    enum class Kind { Text, Number, Address };
    struct Segment {
        Kind kind;
        std::string text;
        unsigned width = 0;
    };
    std::string ParsePlaceholder(std::string_view name);

    std::vector<Segment> m_segments;
};

}  // namespace tarnel::ctl
