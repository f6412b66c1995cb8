#pragma once

#include "ctl/CtlArgs.h"
#include "ctl/CtlStreams.h"
#include "ctl/ModulePort.h"
#include "ctl/ModuleSession.h"

namespace tarnel::ctl {

// tarnelctl verify on an open port: reads the module and prints which of the
// given settings it does not hold, writing nothing. EXIT_DONE when it holds
// them all, EXIT_REFUSED when some differ, else the read's status.
int RunVerify(const CtlArgs& args, ModulePort& port, ModuleSession& session, const CtlStreams& io);

}  // namespace tarnel::ctl
