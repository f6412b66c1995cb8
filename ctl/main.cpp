#include <iostream>

#include "ctl/Console.h"
#include "ctl/CtlArgs.h"
#include "ctl/ExitStatus.h"
#include "ctl/Interrupt.h"
#include "ctl/RunModuleCommand.h"
#include "ctl/RunPorts.h"
#include "ctl/Trace.h"
#include "ctl/Usage.h"

using namespace tarnel::ctl;

namespace {

int Run(int argc, char** argv) {
    const Console console = SetUpConsole(argc, argv);
    const CtlArgs args = ParseCtlArgs(console.args);
    if (args.help) {
        std::cout << (args.command == Command::None ? UsageText() : CommandUsageText(args.command));
        return EXIT_DONE;
    }
    if (args.version) {
        std::cout << VersionText();
        return EXIT_DONE;
    }
    if (!args.error.empty()) {
        std::cerr << "tarnelctl: " << args.error << "\nTry 'tarnelctl --help'.\n";
        return EXIT_USAGE;
    }
    if (args.trace) Trace::Enable(std::cerr);
    if (args.command == Command::Ports) return RunPorts(args.json, std::cout, std::cerr);
    return RunModuleCommand(args,
                            {std::cin, std::cout, std::cerr, console.inIsTerminal, console.errIsTerminal});
}

}  // namespace

int main(int argc, char** argv) {
    CatchInterrupt();
    const int status = Run(argc, argv);
    FlushOutput(std::cout);
    return ExitStatusAfter(status);
}
