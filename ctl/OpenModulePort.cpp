#include "ctl/OpenModulePort.h"

#include <cstdlib>

#include "ctl/ExitStatus.h"
#include "ctl/Interrupt.h"
#include "ctl/Messages.h"
#include "ctl/OpenErrorMessage.h"
#include "ctl/ParseUnsigned.h"

namespace tarnel::ctl {

unsigned ProbeTimeoutMs() {
    const char* text = std::getenv("TARNELCTL_PROBE_MS");
    uint64_t ms = 0;
    if (text != nullptr && ParseUnsigned(text, 10000, ms) && ms > 0) return static_cast<unsigned>(ms);
    return 300;
}

int OpenModulePort(const CtlArgs& args, ModulePort& port, const CtlStreams& io, ProgressLine& progress) {
    bool found = true;
    const std::error_code error =
        args.lineAuto ? port.Find(ProbeTimeoutMs(), progress, found) : port.Open(args.line);
    progress.Clear();
    if (error == std::errc::interrupted) {
        io.err << "tarnelctl: " << port.Name() << ": " << Interruption() << ".\n";
        return EXIT_INTERRUPTED;
    }
    if (error) {
        io.err << "tarnelctl: " << OpenErrorMessage(port.Name(), error) << "\n";
        return EXIT_PORT;
    }
    if (found) return EXIT_DONE;
    io.err << "tarnelctl: " << port.Name() << ": " << Msg(IDS_DEVICE_STATE_UNKNOWN)
           << " No module answered at any of the offered settings.\n";
    return EXIT_NO_MODULE;
}

}  // namespace tarnel::ctl
