#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tarnel::sim {

// The module's activity, numbered as it reports it in its information line.
enum class ModuleState : uint8_t { Idle = 0, Scanning = 1, Inquiring = 2, Connecting = 3, Connected = 4 };

// "IDLE", "SCANNING", "INQUIRING", "CONNECTING" or "CONNECTED".
std::string_view StateWord(ModuleState state);

// The inverse of StateWord, ignoring case; nothing for any other word.
std::optional<ModuleState> StateFromWord(std::string_view word);

}  // namespace tarnel::sim
