#include "ctl/ProductionLine.h"

#include <algorithm>
#include <thread>

#include "ctl/ExitStatus.h"
#include "ctl/Interrupt.h"
#include "ctl/Messages.h"
#include "ctl/ModulePort.h"
#include "ctl/ModuleRecord.h"
#include "ctl/ModuleSession.h"
#include "ctl/OpenErrorMessage.h"
#include "ctl/OpenModulePort.h"
#include "ctl/ProgressLine.h"
#include "ctl/Record.h"
#include "ctl/SettingsMerge.h"
#include "module/DeviceNameError.h"

namespace tarnel::ctl {
namespace {

// How often a port is tried again while no module answers on it.
constexpr std::chrono::milliseconds kRetryInterval{250};

ProductionLine::Outcome OutcomeOf(int status) {
    if (status == EXIT_INTERRUPTED) return ProductionLine::Outcome::Interrupted;
    return status == EXIT_PORT ? ProductionLine::Outcome::PortLost : ProductionLine::Outcome::Done;
}

}  // namespace

ProductionLine::ProductionLine(const CtlArgs& args, const CtlStreams& io)
    : m_args(args), m_io(io), m_next(args.first) {}

ProductionLine::Outcome ProductionLine::Provision(const std::string& portName,
                                                  std::chrono::milliseconds wait) {
    ModulePort port(portName);
    // Stations at work at once cannot share one progress line.
    ProgressLine progress(m_io.err, m_io.errIsTerminal && !m_args.watch);
    ModuleSession session(port, m_io.err, progress);
    std::error_code openError;
    if (WaitForModule(port, session, wait, openError)) return Counted(Configure(port, session));
    if (Interrupted()) return Outcome::Abandoned;
    return NoModule(portName, openError);
}

// A watched port where no module answers is not a module that failed: it may
// be anybody's adapter. A port named with --port was meant to hold one.
ProductionLine::Outcome ProductionLine::NoModule(const std::string& portName,
                                                 const std::error_code& openError) {
    {
        const std::lock_guard lock(m_mutex);
        ++(m_args.watch ? m_noModule : m_unanswered);
    }
    PrintResult(portName, "", "", m_args.watch ? "NO MODULE" : "FAIL",
                openError ? OpenErrorMessage(portName, openError) : "no module answered");
    return openError ? Outcome::NotOpened : Outcome::NoModule;
}

ProductionLine::Outcome ProductionLine::Counted(Outcome outcome) {
    const std::lock_guard lock(m_mutex);
    m_stopped = m_stopped || outcome == Outcome::Exhausted;
    m_cutShort = m_cutShort || outcome == Outcome::Interrupted;
    return outcome;
}

bool ProductionLine::Stopped() const {
    const std::lock_guard lock(m_mutex);
    return m_stopped;
}

bool ProductionLine::CutShort() const {
    const std::lock_guard lock(m_mutex);
    return m_cutShort;
}

// A module that was provisioned before answers at the framing it was given.
bool ProductionLine::Answers(ModulePort& port, ModuleSession& session, std::error_code& openError) const {
    ProgressLine quiet(m_io.err, false);
    bool found = true;
    if (m_args.lineAuto) {
        openError = port.Find(ProbeTimeoutMs(), quiet, found);
        return !openError && found && session.Check() == EXIT_DONE;
    }
    std::vector<LineSettings> lines{m_args.line};
    if (m_args.settings.uart && m_args.settings.uart->line != m_args.line)
        lines.push_back(m_args.settings.uart->line);
    return std::any_of(lines.begin(), lines.end(), [&](const LineSettings& line) {
        openError = port.Open(line);
        return !openError && session.Check() == EXIT_DONE;
    });
}

bool ProductionLine::WaitForModule(ModulePort& port, ModuleSession& session, std::chrono::milliseconds wait,
                                   std::error_code& openError) const {
    const auto deadline = std::chrono::steady_clock::now() + wait;
    while (!Answers(port, session, openError)) {
        port.Close();
        if (Interrupted() || std::chrono::steady_clock::now() + kRetryInterval > deadline) return false;
        std::this_thread::sleep_for(kRetryInterval);
    }
    return true;
}

ProductionLine::Outcome ProductionLine::Configure(ModulePort& port, ModuleSession& session) {
    if (const int status = session.Read(); status != EXIT_DONE) {
        {
            const std::lock_guard lock(m_mutex);
            ++m_unanswered;
        }
        PrintResult(port.Name(), "", "", "FAIL", session.Why());
        return OutcomeOf(status);
    }
    const BdAddr address = session.Reading().devInfo.addr;
    bool repeated = false;
    uint64_t number = 0;
    {
        const std::lock_guard lock(m_mutex);
        const Known& known = Entry(address);
        repeated = known.passed;
        number = known.number;
        if (repeated) ++m_repeated;
    }
    if (repeated) {
        PrintResult(port.Name(), AddressText(address), NameText(session.Reading().devInfo), "REPEAT",
                    "this module passed before and is left as it is");
        return Outcome::Done;
    }
    ModuleSettings given = m_args.settings;
    if (m_args.namePattern) {
        given.name = m_args.namePattern->Expand(number, address);
        // Only a pattern that grows with the number gets here: the first one was checked at the start.
        if (const int error = DeviceNameError(*given.name)) {
            PrintResult(port.Name(), AddressText(address), *given.name, "FAIL",
                        Msg(error) + " (the name pattern for number " + std::to_string(number) +
                            "; the line stops, nothing was written)");
            return Outcome::Exhausted;
        }
    }
    const ModuleWrite write = MergeSettings(session.AsFound(), port.Line(), given);
    const int status = session.ApplyAndVerify(write);
    const bool passed = status == EXIT_DONE;
    {
        const std::lock_guard lock(m_mutex);
        Entry(address).passed = passed;
    }
    PrintResult(port.Name(), AddressText(address), write.name, passed ? "PASS" : "FAIL",
                passed ? "" : session.Why());
    return OutcomeOf(status);
}

ProductionLine::Known& ProductionLine::Entry(const BdAddr& address) {
    const auto it = std::find_if(m_known.begin(), m_known.end(),
                                 [&](const Known& known) { return known.address == address; });
    if (it != m_known.end()) return *it;
    return m_known.emplace_back(Known{address, m_next++, false});
}

void ProductionLine::PrintResult(const std::string& port, const std::string& address, const std::string& name,
                                 const std::string& result, const std::string& why) const {
    Record record;
    record.AddText("port", port).AddText("address", address).AddText("name", name).AddText("result", result);
    if (!why.empty()) record.AddText("why", why);
    // As a one-field record, so that a module's name cannot steer the terminal.
    const std::string line = (address.empty() ? "-" : address) + "  " + (name.empty() ? "-" : name) + "  " +
                             result + (why.empty() ? "" : ": " + why) + "  (" + port + ")";
    const std::lock_guard lock(m_mutex);
    m_io.out << (m_args.json ? record.Json() : Record().AddText("line", line).Text()) << std::flush;
}

void ProductionLine::PrintSummary() const {
    const std::lock_guard lock(m_mutex);
    const auto passed =
        std::count_if(m_known.begin(), m_known.end(), [](const Known& k) { return k.passed; });
    const auto failed = static_cast<int64_t>(m_known.size()) - passed + m_unanswered;
    Record summary;
    summary.AddText("result", "summary")
        .AddNumber("passed", passed)
        .AddNumber("failed", failed)
        .AddNumber("repeated", m_repeated);
    summary.AddNumber("no-module", m_noModule);
    m_io.out << summary.Format(m_args.json) << std::flush;
}

int ProductionLine::ExitStatus() const {
    const std::lock_guard lock(m_mutex);
    const bool allPassed = m_unanswered == 0 && std::all_of(m_known.begin(), m_known.end(),
                                                            [](const Known& k) { return k.passed; });
    return allPassed ? EXIT_DONE : EXIT_REFUSED;
}

}  // namespace tarnel::ctl
