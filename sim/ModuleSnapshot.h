#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sim/BdAddress.h"
#include "sim/ModuleState.h"
#include "sim/SimConfig.h"
#include "sim/UartSettings.h"

namespace tarnel::sim {

// What the module is and what it has been told, at one moment.
struct ModuleSnapshot {
    ModuleSettings current;  // in effect now (what it reports and how its UART runs)
    ModuleSettings written;  // what the next reset will put in effect
    ModuleState state = ModuleState::Idle;
    BdAddress peer{};                      // meaningful while connecting or connected
    bool dataMode = false;                 // connected and passing bytes to the peer; "+++\r" leaves it
    std::optional<LineSettings> hostLine;  // the host's framing as last seen; none before any
    bool hostLineMatches = false;          // hostLine equals current.uart.line
    bool hungUp = false;
    int resets = 0;                     // "ATZ\r" handled
    int factoryResets = 0;              // "AT&F\r" handled
    std::string received;               // every byte that reached the module
    std::vector<std::string> commands;  // every CR-ended line it read, without the CR
};

}  // namespace tarnel::sim
