#pragma once

#include <string>

namespace tarnel::ctl {

// Whether `text` matches the shell wildcard pattern `glob` (* any text, ?
// one character; on Linux also [...] one of a set): fnmatch on Linux,
// PathMatchSpec on Windows, where COM names know no case.
bool GlobMatches(const std::string& glob, const std::string& text);

}  // namespace tarnel::ctl
