#include "protocol/BdAddr.h"

#include <algorithm>
#include <cstdio>

#include "protocol/HexPairToByte.h"

bool BdAddr::IsUnset() const {
    auto all = [this](uint8_t value) {
        return std::all_of(bytes.begin(), bytes.end(), [value](uint8_t b) { return b == value; });
    };
    return all(0x00) || all(0xFF);
}

bool ParseBdAddr(std::string text, BdAddr& addr) {
    if (text.size() != 2 * addr.bytes.size()) return false;
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; });
    addr.bytes.fill(0);
    for (std::size_t i = 0; i < addr.bytes.size(); ++i) {
        if (!HexPairToByte(text[2 * i], text[2 * i + 1], addr.bytes[i])) return false;
    }
    return true;
}

void FormatBdAddr(const BdAddr& addr, std::string& text) {
    char buf[13];
    const auto& b = addr.bytes;
    std::snprintf(buf, sizeof buf, "%02X%02X%02X%02X%02X%02X", b[0], b[1], b[2], b[3], b[4], b[5]);
    text.assign(buf, 12);
}

void FormatBdAddrW(const BdAddr& addr, std::u16string& text) {
    std::string narrow;
    FormatBdAddr(addr, narrow);
    text.assign(narrow.begin(), narrow.end());
}
