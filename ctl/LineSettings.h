#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "serial/SerialLine.h"

namespace tarnel::ctl {

// The framing a port is opened with, as the user types it: "9600,N,1".
struct LineSettings {
    uint32_t baud = 9600;
    char parity = 'N';     // 'N', 'E' or 'O'
    uint8_t stopBits = 1;  // 1 or 2

    bool operator==(const LineSettings&) const = default;
};

// The module's UART settings: the framing and hardware flow control.
struct UartSettings {
    LineSettings line;
    bool flow = false;

    bool operator==(const UartSettings&) const = default;
};

// Reads "BAUD,PARITY,STOP" (parity in either case). Returns the empty string
// and fills `line`, or says what is wrong and leaves `line` as it was.
std::string ParseLineSettings(std::string_view text, LineSettings& line);
// Reads "BAUD,PARITY,STOP[,FLOW]" with FLOW "on" or "off" (off when left out).
std::string ParseUartSettings(std::string_view text, UartSettings& uart);

std::string FormatLineSettings(const LineSettings& line);

}  // namespace tarnel::ctl
