#pragma once

#include "ctl/CtlArgs.h"
#include "ctl/CtlStreams.h"

namespace tarnel::ctl {

// tarnelctl provision: the module on --port, or with --watch each module on
// a port that appears after the start, until Ctrl+C. Returns the exit status.
int RunProvision(const CtlArgs& args, const CtlStreams& io);

}  // namespace tarnel::ctl
