#pragma once

#include "ctl/CtlArgs.h"
#include "ctl/CtlStreams.h"
#include "ctl/ModulePort.h"
#include "ctl/ProgressLine.h"

namespace tarnel::ctl {

// The time a probe of find waits for the module's answer: 300 ms, or the
// milliseconds TARNELCTL_PROBE_MS gives (1 to 10000).
unsigned ProbeTimeoutMs();

// Opens `port` at --line, or with --line auto at the framing a module
// answers at. Returns EXIT_DONE, or EXIT_PORT, EXIT_NO_MODULE or
// EXIT_INTERRUPTED after saying why on the error stream.
int OpenModulePort(const CtlArgs& args, ModulePort& port, const CtlStreams& io, ProgressLine& progress);

}  // namespace tarnel::ctl
