#pragma once

// Everything a read of the module's settings gives: what the configurator
// shows and what a script checks after writing.

#include <array>
#include <cstdint>
#include <string>

#include "protocol/BdAddr.h"
#include "protocol/PayloadRecords.h"

struct ModuleReading {
    std::string fwVersion;
    DeviceInfo devInfo{};
    // Flow control, then the other +INFO2 flags, as CopyPayload gives them.
    std::array<uint8_t, INFO2_FLAG_COUNT> uartInfo{};
    BdAddr target;          // unset when the module has none
    uint8_t responses = 0;  // 0 on, 1 off, as the module last said
};
