#include "ctl/RunProvision.h"

#include <thread>

#include "ctl/ExitStatus.h"
#include "ctl/Interrupt.h"
#include "ctl/PortWatcher.h"
#include "ctl/ProductionLine.h"
#include "serial/EnumerateComPorts.h"

namespace tarnel::ctl {
namespace {

using namespace std::chrono_literals;

// How long a new port may take to show a module that answers: an adapter's
// device node comes before the module behind it is powered up.
constexpr std::chrono::milliseconds kModuleWait = 10s;
constexpr std::chrono::milliseconds kPollInterval = 250ms;

std::vector<std::string> ListPorts() {
    std::vector<std::string> ports;
    EnumerateComPorts(ports);
    return ports;
}

int Watch(ProductionLine& line, const CtlStreams& io) {
    PortWatcher watcher(ListPorts);
    io.err << "tarnelctl: Waiting for modules on new ports; Ctrl+C ends.\n" << std::flush;
    while (!Interrupted()) {
        for (const std::string& port : watcher.Poll())
            if (!Interrupted()) line.Provision(port, kModuleWait);
        std::this_thread::sleep_for(kPollInterval);
    }
    line.PrintSummary();
    return line.ExitStatus();
}

}  // namespace

int RunProvision(const CtlArgs& args, const CtlStreams& io) {
    CatchInterrupt();
    ProductionLine line(args, io);
    if (args.watch) return Watch(line, io);
    if (!line.Provision(args.port, 0ms)) return EXIT_NO_MODULE;
    return line.ExitStatus();
}

}  // namespace tarnel::ctl
