#pragma once

#include <string>

#include "ctl/Command.h"

namespace tarnel::ctl {

// The text of --help: every command and option, the exit statuses and
// examples; written to serve as the manual page.
std::string UsageText();
// The text of COMMAND --help: its synopsis, what it does and the options it
// takes, as the manual has them.
std::string CommandUsageText(Command command);
// The text of --version: the program's name and the project's version.
std::string VersionText();

}  // namespace tarnel::ctl
