#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tarnel::sim {

// A Bluetooth address as the module writes it: byte 0 first.
using BdAddress = std::array<uint8_t, 6>;

// Twelve upper-case hexadecimal digits without separators, byte 0 first.
std::string FormatAddress(const BdAddress& address);

// Exactly twelve hexadecimal digits of either case; anything else gives
// nothing.
std::optional<BdAddress> ParseAddress(std::string_view text);

}  // namespace tarnel::sim
