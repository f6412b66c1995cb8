#pragma once

#include "ctl/CtlArgs.h"
#include "ctl/CtlStreams.h"
#include "ctl/ModulePort.h"
#include "ctl/ModuleSession.h"
#include "ctl/ProgressLine.h"

namespace tarnel::ctl {

// tarnelctl search on an open port: each device once as it is found, until
// the module ends the inquiry, --seconds pass or Ctrl+C (then the inquiry is
// cancelled on the module). Returns the exit status.
int RunSearch(const CtlArgs& args, ModulePort& port, ModuleSession& session, const CtlStreams& io,
              ProgressLine& progress);

}  // namespace tarnel::ctl
