#include "ctl/RunSearch.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

#include "ctl/ExitStatus.h"
#include "ctl/Interrupt.h"
#include "ctl/Messages.h"
#include "ctl/ModuleRecord.h"

namespace tarnel::ctl {
namespace {

using Clock = std::chrono::steady_clock;

Record DeviceRecord(const InquiryResult& device) {
    char cod[16];
    std::snprintf(cod, sizeof cod, "0x%06X", static_cast<unsigned>(device.classOfDevice));
    return Record()
        .AddText("address", AddressText(device.addr))
        .AddText("name", std::string(device.name, strnlen(device.name, sizeof device.name)))
        .AddNumber("rssi", device.rssi)
        .AddText("class", cod);
}

// Polls until the module ends the inquiry (true) or the search is to stop
// early (false).
bool ListDevices(const CtlArgs& args, ConfiguratorFlow& flow, const CtlStreams& io, ProgressLine& progress) {
    const auto start = Clock::now();
    const auto limit = std::chrono::seconds(args.seconds);
    std::vector<BdAddr> seen;
    while (!Interrupted() && (args.seconds == 0 || Clock::now() - start < limit)) {
        InquiryResult device{};
        const ModuleResult step = flow.NextReport(device);
        if (flow.After(FlowStep::NextReport, step).next != FlowNext::NextReport) return true;
        if (step == ModuleResult::Ok && std::find(seen.begin(), seen.end(), device.addr) == seen.end()) {
            seen.push_back(device.addr);
            progress.Clear();
            io.out << DeviceRecord(device).Format(args.json);
            FlushOutput(io.out);
        }
        const auto elapsed = std::chrono::duration_cast<std::chrono::seconds>(Clock::now() - start);
        progress.Update("Searching: " + std::to_string(seen.size()) + " found, " +
                        std::to_string(elapsed.count()) + " s");
    }
    return false;
}

int PortLost(const ModulePort& port, const CtlStreams& io) {
    io.err << "tarnelctl: " << port.Name() << ": " << Msg(IDS_PORT_ERROR) << " (the port went away)\n";
    return EXIT_PORT;
}

int Stopped(const ModulePort& port, const CtlStreams& io, const std::string& done) {
    io.err << "tarnelctl: " << port.Name() << ": " << Interruption() << "; " << done << ".\n";
    return EXIT_INTERRUPTED;
}

}  // namespace

int RunSearch(const CtlArgs& args, ModulePort& port, ModuleSession& session, const CtlStreams& io,
              ProgressLine& progress) {
    int status = session.Check();
    if (status == EXIT_DONE && !Interrupted()) status = session.ReadUnlinked();
    if (status != EXIT_DONE) return session.Report(status, io, args.json);
    if (Interrupted()) return Stopped(port, io, "the search was not started");
    ConfiguratorFlow& flow = session.Flow();
    if (const FlowOutcome started = flow.After(FlowStep::StartSearch, flow.StartSearch()); started.failed)
        return session.Report(session.Refused(Msg(started.message), {}), io, args.json);
    const bool ended = ListDevices(args, flow, io, progress);
    progress.Clear();
    if (port.Lost()) return PortLost(port, io);
    if (!ended && flow.StopSearch() != ModuleResult::Ok) {
        const int refused = session.Refused("The module did not confirm that the search stopped.", {});
        return session.Report(refused, io, args.json);
    }
    if (Interrupted()) return Stopped(port, io, "the search was stopped");
    io.err << "tarnelctl: " << port.Name() << ": " << Msg(IDS_SEARCH_COMPLETED) << "\n";
    return EXIT_DONE;
}

}  // namespace tarnel::ctl
