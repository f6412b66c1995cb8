#pragma once

// The configurator's words for what tarnelctl reports too: the English texts
// of the program's string table, under the same identifiers. The table itself
// belongs to the windowed side, which tarnelctl does not link.

namespace tarnel::ctl {

inline constexpr const char* IDS_PORT_ERROR = "Error on COM port. Closing the port.";  // 106
inline constexpr const char* IDS_OPEN_FAILED = "Unable to open the COM port.";         // 108
inline constexpr const char* IDS_NO_MODULE =
    "The state of device could not be determined. Please check COM port, baud rate, etc, and try "
    "again.";                                                                        // 110
inline constexpr const char* IDS_SEARCH_FAILED = "Device search has failed.";        // 115
inline constexpr const char* IDS_SEARCH_DONE = "Device search has been completed.";  // 116
inline constexpr const char* IDS_NAME_EMPTY = "The device name is empty.";           // 122
inline constexpr const char* IDS_NAME_TOO_LONG = "The device name is too long.";     // 123
inline constexpr const char* IDS_BAD_TARGET =
    "The Bluetooth address of the destination device is incorrect.";  // 124
inline constexpr const char* IDS_NAME_BAD_CHARACTER =
    "The device name must not contain commas or control characters.";  // 131
inline constexpr const char* IDS_RESPONSES_OFF =
    "Command response is disabled. To ensure proper operation of the configuration program, enable "
    "command response.";                                                               // 125, its first part
inline constexpr const char* IDS_SETTING_DONE = "Device setting has been completed.";  // 126
inline constexpr const char* IDS_SAVE_FAILED =
    "Failed to save device settings. Try to check device state again.";  // 127
inline constexpr const char* IDS_FACTORY_RESET_CONFIRM =
    "Reset to factory settings. Are you sure you want to continue?";  // 128

// The text for a DeviceNameError result (122, 123 or 131).
const char* DeviceNameMessage(int id);

}  // namespace tarnel::ctl
