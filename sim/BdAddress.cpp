#include "sim/BdAddress.h"

#include <cstdio>

namespace tarnel::sim {

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

std::string FormatAddress(const BdAddress& address) {
    char text[13];
    std::snprintf(text, sizeof text, "%02X%02X%02X%02X%02X%02X", address[0], address[1], address[2],
                  address[3], address[4], address[5]);
    return text;
}

std::optional<BdAddress> ParseAddress(std::string_view text) {
    if (text.size() != 12) return std::nullopt;
    BdAddress address{};
    for (std::size_t i = 0; i < address.size(); ++i) {
        const int high = HexValue(text[2 * i]);
        const int low = HexValue(text[2 * i + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        address[i] = static_cast<uint8_t>(high * 16 + low);
    }
    return address;
}

}  // namespace tarnel::sim
