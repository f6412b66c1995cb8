#include "ctl/RunProvision.h"

#include <algorithm>
#include <thread>

#include "ctl/ExitStatus.h"
#include "ctl/Interrupt.h"
#include "ctl/LineState.h"
#include "ctl/PortGlob.h"
#include "ctl/PortIdentity.h"
#include "ctl/PortTexts.h"
#include "ctl/PortWatcher.h"
#include "ctl/ProductionLine.h"
#include "ctl/ProductionReport.h"
#include "ctl/StablePortIdentity.h"
#include "ctl/Stations.h"

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
    EnumeratePortTexts(names);
    std::vector<PortWatcher::Port> ports;
    for (std::string& name : names) {
        std::string identity = StablePortIdentity(name);
        std::string instance = PortIdentity(name);
        ports.push_back({std::move(name), std::move(identity), std::move(instance)});
    }
    return ports;
}

std::string LastPart(const std::string& path) {
    return path.substr(path.find_last_of("/\\") + 1);
}

// --ports: by the name or the identity, whole or their last part (a link's
// name, a by-id name).
bool Wanted(const PortWatcher::Port& port, const std::vector<std::string>& globs) {
    if (globs.empty()) return true;
    return std::any_of(globs.begin(), globs.end(), [&](const std::string& glob) {
        for (const std::string& text :
             {port.name, port.identity, LastPart(port.name), LastPart(port.identity)})
            if (GlobMatches(glob, text)) return true;
        return false;
    });
}

// Ctrl+C ends the line; the status is the modules' unless it cut one short.
int Watch(ProductionLine& line, const CtlArgs& args, const CtlStreams& io) {
    PortWatcher watcher(ListPorts);
    io.err << "tarnelctl: Waiting for modules on new ports; Ctrl+C ends.\n" << std::flush;
    {
        Stations stations([&](const std::string& port) {
            if (!line.Stopped()) line.Provision(port, kModuleWait);
        });
        while (!Interrupted() && !line.Stopped()) {
            for (const PortWatcher::Port& port : watcher.Poll())
                if (Wanted(port, args.portGlobs)) stations.Start(port.name);
            stations.Reap();
            std::this_thread::sleep_for(kPollInterval);
        }
    }
    line.PrintSummary();
    if (line.ReportFailed()) return EXIT_REPORT;
    return line.CutShort() ? EXIT_INTERRUPTED : line.ExitStatus();
}

int OnePort(ProductionLine& line, const std::string& port, const CtlStreams& io) {
    const Outcome outcome = line.Provision(port, 0ms);
    if (line.ReportFailed()) return EXIT_REPORT;
    switch (outcome) {
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

// The report and the state file: a line that can keep neither does not start.
std::string OpenFiles(const CtlArgs& args, ProductionReport& report, LineState& state, const CtlStreams& io) {
    if (!args.reportPath.empty()) {
        std::string note;
        if (const std::error_code error = report.Open(args.reportPath, note))
            return "The report " + args.reportPath + " could not be opened: " + error.message() + ".";
        if (!note.empty()) io.err << "tarnelctl: " << note << "\n";
    }
    std::string statePath = args.statePath;
    if (statePath.empty() && !args.reportPath.empty()) statePath = args.reportPath + ".state";
    return statePath.empty() ? std::string() : state.Open(statePath);
}

}  // namespace

int RunProvision(const CtlArgs& args, const CtlStreams& io) {
    ProductionReport report;
    LineState state;
    if (const std::string error = OpenFiles(args, report, state, io); !error.empty()) {
        io.err << "tarnelctl: " << error << "\n";
        return EXIT_REPORT;
    }
    ProductionLine line(args, io, args.reportPath.empty() ? nullptr : &report,
                        state.Path().empty() ? nullptr : &state);
    return args.watch ? Watch(line, args, io) : OnePort(line, args.port, io);
}

}  // namespace tarnel::ctl
