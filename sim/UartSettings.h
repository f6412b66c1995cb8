#pragma once

#include <cstdint>

namespace tarnel::sim {

// The framing of one side of the serial line.
struct LineSettings {
    uint32_t baud = 9600;
    char parity = 'N';     // 'N', 'E' or 'O'
    uint8_t stopBits = 1;  // 1 or 2

    bool operator==(const LineSettings&) const = default;
};

// The module's own UART: its line framing plus hardware flow control.
struct UartSettings {
    LineSettings line;
    uint8_t flowControl = 0;  // 0 none, 1 hardware

    bool operator==(const UartSettings&) const = default;
};

// The baud rates the module's UART can be set to.
bool IsModuleBaudRate(uint32_t baud);

}  // namespace tarnel::sim
