#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "serial/SerialLine.h"

namespace tarnel::sim {

// The framing of one side of the serial line.
using ::LineSettings;

// The module's own UART: its line framing plus hardware flow control.
struct UartSettings {
    LineSettings line;
    uint8_t flowControl = 0;  // 0 none, 1 hardware

    bool operator==(const UartSettings&) const = default;
};

// The baud rates the module's UART can be set to.
bool IsModuleBaudRate(uint32_t baud);
// `text` as the parity letter it names in either case, or none.
std::optional<char> ParityLetterOf(std::string_view text);
bool IsStopBitCount(uint32_t count);

}  // namespace tarnel::sim
