#pragma once

namespace tarnel::ctl {

// Whether the user's first interface language is Korean: on Linux the first
// of LANGUAGE, LC_ALL, LC_MESSAGES and LANG that is set, as the windows take
// it; on Windows the user's interface language.
bool KoreanUi();

}  // namespace tarnel::ctl
