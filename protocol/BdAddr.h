#pragma once

// The 6-byte Bluetooth address and its text codec. The text form is exactly
// 12 hexadecimal digits without separators, byte 0 first; parsing accepts
// either case, formatting writes upper case.

#include <array>
#include <cstdint>
#include <string>

struct BdAddr {
    std::array<uint8_t, 6> bytes{};

    // The all-zero and the all-0xFF address both mean that no address is set.
    bool IsUnset() const;
    bool operator==(const BdAddr&) const = default;
};
static_assert(sizeof(BdAddr) == 6);

// True when `text` is exactly 12 hexadecimal digits; then `addr` holds them.
// A text of another length leaves `addr` untouched; on a bad digit the bytes
// read before it stay and the rest are zero.
bool ParseBdAddr(std::string text, BdAddr& addr);

// Writes the 12 upper-case digits into `text`.
void FormatBdAddr(const BdAddr& addr, std::string& text);
void FormatBdAddrW(const BdAddr& addr, std::u16string& text);
