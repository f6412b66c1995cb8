#pragma once

#include <string>

#include "ctl/CtlStreams.h"
#include "module/ModuleWrite.h"

namespace tarnel::ctl {

// --dry-run: prints the commands that writing `write` to the module on `port`
// would send, in the order they would go, one a line (with `json` one
// object each, naming the port), and sends none. EXIT_DONE, or EXIT_REFUSED
// with the reason on standard error when the write would stop at a value
// that cannot be sent.
int PrintDryRun(const ModuleWrite& write, const std::string& port, bool json, const CtlStreams& io);

}  // namespace tarnel::ctl
