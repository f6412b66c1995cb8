#pragma once

// The settings that an Apply writes to the module, all of them at once.

#include <cstdint>
#include <string>

#include "protocol/BdAddr.h"

struct ModuleWrite {
    std::string name;  // UTF-8, checked with DeviceNameError
    uint32_t baud = 115200;
    char parity = 'N';      // 'N', 'E' or 'O'
    uint8_t stopBits = 1;   // 1 or 2
    uint8_t flow = 0;       // 0 off, 1 hardware flow control
    uint8_t opMode = 0;     // 0 to 3
    BdAddr target;          // unset: the module's target is left as it is
    uint8_t responses = 0;  // 0 on, 1 off
};
