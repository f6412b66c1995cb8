#pragma once

#include <string>

// The configurator's words for what tarnelctl reports too: the program's
// string table, under the same identifiers, in the user's language (Korean
// when the locale's first language is Korean, as for the windows).

namespace tarnel::ctl {

inline constexpr int IDS_PORT_ERROR = 106;
inline constexpr int IDS_OPEN_FAILED = 108;
inline constexpr int IDS_NO_MODULE = 110;
inline constexpr int IDS_SEARCH_FAILED = 115;
inline constexpr int IDS_SEARCH_DONE = 116;
inline constexpr int IDS_NAME_EMPTY = 122;
inline constexpr int IDS_NAME_TOO_LONG = 123;
inline constexpr int IDS_BAD_TARGET = 124;
inline constexpr int IDS_RESPONSES_OFF = 125;
inline constexpr int IDS_SETTING_DONE = 126;
inline constexpr int IDS_SAVE_FAILED = 127;
inline constexpr int IDS_FACTORY_RESET_CONFIRM = 128;
inline constexpr int IDS_NAME_BAD_CHARACTER = 131;

// The string `id` in UTF-8; only its first line where the windows show more
// (125 goes on about the Apply button, which tarnelctl has not).
std::string Msg(int id);

}  // namespace tarnel::ctl
