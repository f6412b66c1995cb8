#pragma once

#include <cstdint>

// Two hexadecimal characters of either case to one byte, `high` giving the
// upper nibble. False (and `out` untouched) when either is not a hex digit.
bool HexPairToByte(char high, char low, uint8_t& out);
