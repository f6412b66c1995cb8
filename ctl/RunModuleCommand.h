#pragma once

#include <ostream>

#include "ctl/CtlArgs.h"

namespace tarnel::ctl {

// The commands that talk to a module (info, set, reset, search, find,
// provision), as far as this build carries them: the confirmation rule of
// reset and the opening of the port, with its failure reported. The command
// sequences themselves are not in this build: after the port opened, the
// command says so on `err` and the result is EXIT_UNAVAILABLE. Returns the
// exit status.
int RunModuleCommand(const CtlArgs& args, bool stdinIsTerminal, std::ostream& err);

}  // namespace tarnel::ctl
