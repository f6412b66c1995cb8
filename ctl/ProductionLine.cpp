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
    ProgressLine progress(m_io.err, m_io.errIsTerminal);
    ModuleSession session(port, m_io.err, progress);
    std::error_code openError;
    if (WaitForModule(port, session, wait, openError)) return Configure(port, session);
    if (Interrupted()) return Outcome::Abandoned;
    ++m_unanswered;
    PrintResult(portName, "", "", "FAIL",
                openError ? OpenErrorMessage(portName, openError) : "no module answered");
    return openError ? Outcome::NotOpened : Outcome::NoModule;
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
    if (const int status = session.ReadUnlinked(); status != EXIT_DONE) {
        ++m_unanswered;
        PrintResult(port.Name(), "", "", "FAIL", session.Why());
        return OutcomeOf(status);
    }
    const BdAddr address = session.Reading().devInfo.addr;
    Known& known = Entry(address);
    if (known.passed) {
        ++m_repeated;
        PrintResult(port.Name(), AddressText(address), NameText(session.Reading().devInfo), "REPEAT",
                    "this module passed before and is left as it is");
        return Outcome::Done;
    }
    ModuleSettings given = m_args.settings;
    if (m_args.namePattern) {
        given.name = m_args.namePattern->Expand(known.number, address);
        // Only a pattern that grows with the number gets here: the first one was checked at the start.
        if (const int error = DeviceNameError(*given.name)) {
            PrintResult(port.Name(), AddressText(address), *given.name, "FAIL",
                        Msg(error) + " (the name pattern for number " + std::to_string(known.number) +
                            "; the line stops, nothing was written)");
            return Outcome::Exhausted;
        }
    }
    const ModuleWrite write = MergeSettings(session.AsFound(), port.Line(), given);
    const int status = session.ApplyAndVerify(write);
    known.passed = status == EXIT_DONE;
    PrintResult(port.Name(), AddressText(address), write.name, known.passed ? "PASS" : "FAIL",
                known.passed ? "" : session.Why());
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
    if (m_args.json) {
        m_io.out << record.Json();
    } else {
        // As a one-field record, so that a module's name cannot steer the terminal.
        const std::string line = (address.empty() ? "-" : address) + "  " + (name.empty() ? "-" : name) +
                                 "  " + result + (why.empty() ? "" : ": " + why) + "  (" + port + ")";
        m_io.out << Record().AddText("line", line).Text();
    }
    // A line whose results cannot be written stops: it would configure
    // modules that nobody records.
    FlushOutput(m_io.out);
}

void ProductionLine::PrintSummary() const {
    const auto passed =
        std::count_if(m_known.begin(), m_known.end(), [](const Known& k) { return k.passed; });
    const auto failed = static_cast<int64_t>(m_known.size()) - passed + m_unanswered;
    m_io.out << Record()
                    .AddText("result", "summary")
                    .AddNumber("passed", passed)
                    .AddNumber("failed", failed)
                    .AddNumber("repeated", m_repeated)
                    .Format(m_args.json);
    FlushOutput(m_io.out);
}

int ProductionLine::ExitStatus() const {
    const bool allPassed = m_unanswered == 0 && std::all_of(m_known.begin(), m_known.end(),
                                                            [](const Known& k) { return k.passed; });
    return allPassed ? EXIT_DONE : EXIT_REFUSED;
}

}  // namespace tarnel::ctl
