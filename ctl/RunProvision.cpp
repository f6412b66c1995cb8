#include "ctl/RunProvision.h"

#include <thread>

#include "ctl/ExitStatus.h"
#include "ctl/Interrupt.h"
#include "ctl/PortIdentity.h"
#include "ctl/PortWatcher.h"
#include "ctl/ProductionLine.h"
#include "serial/EnumerateComPorts.h"

namespace tarnel::ctl {
namespace {

using namespace std::chrono_literals;
using Outcome = ProductionLine::Outcome;

// How long a new port may take to show a module that answers: an adapter's
// device node comes before the module behind it is powered up.
constexpr std::chrono::milliseconds kModuleWait = 10s;
constexpr std::chrono::milliseconds kPollInterval = 250ms;

std::vector<PortWatcher::Port> ListPorts() {
    std::vector<std::string> names;
    EnumerateComPorts(names);
    std::vector<PortWatcher::Port> ports;
    for (std::string& name : names) {
        std::string identity = PortIdentity(name);
        ports.push_back({std::move(name), std::move(identity)});
    }
    return ports;
}

// Ctrl+C ends the line; the status is the modules' unless it cut one short.
int Watch(ProductionLine& line, const CtlStreams& io) {
    PortWatcher watcher(ListPorts);
    io.err << "tarnelctl: Waiting for modules on new ports; Ctrl+C ends.\n" << std::flush;
    Outcome last = Outcome::Done;
    while (!Interrupted() && last != Outcome::Exhausted) {
        for (const std::string& port : watcher.Poll()) {
            if (Interrupted() || last == Outcome::Exhausted) break;
            last = line.Provision(port, kModuleWait);
        }
        if (last != Outcome::Exhausted) std::this_thread::sleep_for(kPollInterval);
    }
    line.PrintSummary();
    return last == Outcome::Interrupted ? EXIT_INTERRUPTED : line.ExitStatus();
}

int OnePort(ProductionLine& line, const std::string& port, const CtlStreams& io) {
    switch (line.Provision(port, 0ms)) {
        case Outcome::NotOpened:
        case Outcome::PortLost:
            return EXIT_PORT;
        case Outcome::NoModule:
            return EXIT_NO_MODULE;
        case Outcome::Interrupted:
        case Outcome::Abandoned:
            io.err << "tarnelctl: " << port << ": " << Interruption() << ".\n";
            return EXIT_INTERRUPTED;
        default:
            if (!Interrupted()) return line.ExitStatus();
            // In the module's last step: its result line says how it ended.
            io.err << "tarnelctl: " << port << ": " << Interruption()
                   << "; the module's steps were finished first.\n";
            return EXIT_INTERRUPTED;
    }
}

}  // namespace

int RunProvision(const CtlArgs& args, const CtlStreams& io) {
    ProductionLine line(args, io);
    return args.watch ? Watch(line, io) : OnePort(line, args.port, io);
}

}  // namespace tarnel::ctl
