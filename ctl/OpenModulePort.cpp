#include "ctl/OpenModulePort.h"

#include <cstdlib>

#include "ctl/ExitStatus.h"
#include "ctl/FailureRecord.h"
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

namespace {

// The message on standard error; with --json the failure on standard output too.
int OpenFailed(const CtlArgs& args, const std::string& port, const CtlStreams& io, const std::string& message,
               const std::string& reason, int status) {
    io.err << "tarnelctl: " << message << "\n";
    if (args.json) io.out << FailureRecord(port, reason, status).Json() << std::flush;
    return status;
}

}  // namespace

int OpenModulePort(const CtlArgs& args, ModulePort& port, const CtlStreams& io, ProgressLine& progress) {
    bool found = true;
    const std::error_code error =
        args.lineAuto ? port.Find(ProbeTimeoutMs(), progress, found) : port.Open(args.line);
    progress.Clear();
    const std::string& name = port.Name();
    if (error == std::errc::interrupted) {
        const std::string reason = Interruption() + ".";
        return OpenFailed(args, name, io, name + ": " + reason, reason, EXIT_INTERRUPTED);
    }
    if (error) {
        const std::string reason = OpenErrorMessage(name, error);
        return OpenFailed(args, name, io, reason, reason, EXIT_PORT);
    }
    if (found) return EXIT_DONE;
    const std::string reason =
        Msg(IDS_DEVICE_STATE_UNKNOWN) + " No module answered at any of the offered settings.";
    return OpenFailed(args, name, io, name + ": " + reason, reason, EXIT_NO_MODULE);
}

}  // namespace tarnel::ctl
