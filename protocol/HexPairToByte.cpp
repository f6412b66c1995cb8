#include "protocol/HexPairToByte.h"

namespace {

bool NibbleOf(char c, uint8_t& nibble) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c >= '0' && c <= '9') {
        nibble = static_cast<uint8_t>(c - '0');
        return true;
    }
    if (c >= 'A' && c <= 'F') {
        nibble = static_cast<uint8_t>(c - 'A' + 10);
        return true;
    }
    return false;
}

}  // namespace

bool HexPairToByte(char high, char low, uint8_t& out) {
    uint8_t h = 0;
    uint8_t l = 0;
    if (!NibbleOf(high, h) || !NibbleOf(low, l)) return false;
    out = static_cast<uint8_t>(h << 4 | l);
    return true;
}
