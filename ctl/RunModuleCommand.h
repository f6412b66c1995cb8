#pragma once

#include "ctl/CtlArgs.h"
#include "ctl/CtlStreams.h"

namespace tarnel::ctl {

// The commands that talk to a module: info, set, reset, search, find and
// provision. Returns the exit status.
int RunModuleCommand(const CtlArgs& args, const CtlStreams& io);

}  // namespace tarnel::ctl
