#pragma once

// The configurator's words for what tarnelctl reports too: the English texts
// of the program's string table, under the same identifiers. The table itself
// belongs to the windowed side, which tarnelctl does not link.

namespace tarnel::ctl {

inline constexpr const char* IDS_OPEN_FAILED = "Unable to open the COM port.";    // 108
inline constexpr const char* IDS_NAME_EMPTY = "The device name is empty.";        // 122
inline constexpr const char* IDS_NAME_TOO_LONG = "The device name is too long.";  // 123
inline constexpr const char* IDS_BAD_TARGET =
    "The Bluetooth address of the destination device is incorrect.";  // 124
inline constexpr const char* IDS_NAME_BAD_CHARACTER =
    "The device name must not contain commas or control characters.";  // 131

// The text for a DeviceNameError result (122, 123 or 131).
const char* DeviceNameMessage(int id);

}  // namespace tarnel::ctl
