#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "serial/SerialLine.h"

namespace tarnel::ctl {

// The framing a port is opened with, as the user types it: "9600,N,1".
using ::LineSettings;

// The module's UART settings: the framing and hardware flow control.
struct UartSettings {
    LineSettings line;
    bool flow = false;

    bool operator==(const UartSettings&) const = default;
};

// Reads "BAUD,PARITY,STOP" (parity in either case). Returns the empty string
// and fills `line`, or says what is wrong and leaves `line` as it was.
std::string ParseLineSettings(std::string_view text, LineSettings& line);
// Reads "BAUD,PARITY,STOP[,FLOW]" with FLOW "on" or "1", "off" or "0" (off
// when left out).
std::string ParseUartSettings(std::string_view text, UartSettings& uart);

std::string FormatLineSettings(const LineSettings& line);

}  // namespace tarnel::ctl
