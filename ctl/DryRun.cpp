#include "ctl/DryRun.h"

#include "ctl/ExitStatus.h"
#include "ctl/Interrupt.h"
#include "ctl/Record.h"
#include "module/TarnelModule.h"

namespace tarnel::ctl {

int PrintDryRun(const ModuleWrite& write, const std::string& port, bool json, const CtlStreams& io) {
    for (const WriteCommand& command : TarnelModule::WriteCommands(write)) {
        if (command.text.empty()) {
            io.err << "tarnelctl: " << port << ": The write would stop here: a value cannot be sent.\n";
            return EXIT_REFUSED;
        }
        const std::string text = command.text.substr(0, command.text.find('\r'));
        io.out << (json ? Record().AddText("port", port).AddText("command", text).Json()
                        : Record().AddText("command", text).Text());
    }
    FlushOutput(io.out);
    return EXIT_DONE;
}

}  // namespace tarnel::ctl
