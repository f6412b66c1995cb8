#pragma once

// The string table's identifiers of the messages that the configurator's
// flow ends in: the configurator shows them, tarnelctl prints them.

inline constexpr int IDS_PORT_ERROR = 106;
inline constexpr int IDS_DEVICE_STATE_UNKNOWN = 110;
inline constexpr int IDS_UNKNOWN_OP_MODE = 111;
inline constexpr int IDS_SEARCH_FAILED = 115;
inline constexpr int IDS_SEARCH_COMPLETED = 116;
inline constexpr int IDS_DEVICE_NAME_EMPTY = 122;
inline constexpr int IDS_DEVICE_NAME_TOO_LONG = 123;
inline constexpr int IDS_TARGET_ADDRESS_INVALID = 124;
inline constexpr int IDS_RESPONSE_DISABLED = 125;
inline constexpr int IDS_SETTING_COMPLETED = 126;
inline constexpr int IDS_SETTING_FAILED = 127;
inline constexpr int IDS_FACTORY_RESET_QUESTION = 128;
inline constexpr int IDS_CONNECTED_WILL_DISCONNECT = 129;
inline constexpr int IDS_DISCONNECT_FAILED = 130;
inline constexpr int IDS_DEVICE_NAME_CHARACTERS = 131;
