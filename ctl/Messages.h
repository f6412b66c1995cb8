#pragma once

#include <string>

#include "module/MessageIds.h"

// The configurator's words for what tarnelctl reports too: the program's
// string table, under the same identifiers (module/MessageIds.h), in the
// user's language (Korean when the locale's first language is Korean, as for
// the windows).

namespace tarnel::ctl {

inline constexpr int IDS_OPEN_FAILED = 108;

// The string `id` in UTF-8; only its first line where the windows show more
// (125 goes on about the Apply button, which tarnelctl has not).
std::string Msg(int id);

}  // namespace tarnel::ctl
