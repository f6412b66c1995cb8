#pragma once

#include <string>

namespace tarnel::ctl {

// The text of --help: every command and option, the exit statuses and
// examples; written to serve as the manual page.
std::string UsageText();
// The text of --version: the program's name and the project's version.
std::string VersionText();

}  // namespace tarnel::ctl
