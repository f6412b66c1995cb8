#pragma once

// Turns a line typed into the terminal into the bytes to write to the port.
// Text mode: the line as UTF-8, then the line end. Hexadecimal mode: the line
// must be pairs of hex digits, nothing else; each pair is one byte, then the
// line end. The line end is CR when `cr`, then LF when `lf`.

#include <cstdint>
#include <string_view>
#include <vector>

// The message ids (string table) of a refused line.
inline constexpr int SEND_ERR_TOO_LONG = 102;    // "String is too long."
inline constexpr int SEND_ERR_ODD_LENGTH = 103;  // hex line of odd length
inline constexpr int SEND_ERR_BAD_FORMAT = 104;  // a character that is not a hex digit
inline constexpr int SEND_ERR_CONVERSION = 105;  // the digits did not convert

// Longest line accepted, in UTF-16 units of the line as typed.
inline constexpr std::size_t MAX_TEXT_LINE_UNITS = 512;
inline constexpr std::size_t MAX_HEX_LINE_UNITS = 1024;

struct SendBytes {
    std::vector<uint8_t> bytes;  // what to write; empty on error
    int errorId = 0;             // 0 on success, else one of SEND_ERR_*

    bool Ok() const { return errorId == 0; }
};

SendBytes BuildSendBytes(std::u16string_view line, bool hex, bool cr, bool lf);
