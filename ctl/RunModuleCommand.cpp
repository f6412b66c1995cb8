#include "ctl/RunModuleCommand.h"

#include "ctl/ExitStatus.h"
#include "ctl/OpenErrorMessage.h"
#include "ctl/OpenLine.h"

namespace tarnel::ctl {

int RunModuleCommand(const CtlArgs& args, bool stdinIsTerminal, std::ostream& err) {
    if (args.command == Command::Reset && !args.yes && !stdinIsTerminal) {
        err << "tarnelctl: A factory reset needs --yes when there is no terminal to confirm it on.\n";
        return EXIT_USAGE;
    }
    if (!args.port.empty()) {
        TarnelComm comm;
        // find and --line auto probe every framing; any of them shows whether
        // the port opens.
        if (const std::error_code error = OpenLine(comm, args.port, args.line)) {
            err << "tarnelctl: " << OpenErrorMessage(args.port, error) << "\n";
            return EXIT_PORT;
        }
        comm.Close();
    }
    err << "tarnelctl: This command is not available yet: this build lacks the module's command "
           "sequences. Only 'tarnelctl ports' works.\n";
    return EXIT_UNAVAILABLE;
}

}  // namespace tarnel::ctl
