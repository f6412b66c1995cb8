#include "ctl/ProductionLine.h"

#include <algorithm>
#include <thread>

#include "ctl/ExitStatus.h"
#include "ctl/Interrupt.h"
#include "ctl/ModulePort.h"
#include "ctl/ModuleRecord.h"
#include "ctl/ModuleSession.h"
#include "ctl/OpenModulePort.h"
#include "ctl/ProgressLine.h"
#include "ctl/Record.h"
#include "ctl/SettingsMerge.h"

namespace tarnel::ctl {
namespace {

// How often a port is tried again while no module answers on it.
constexpr std::chrono::milliseconds kRetryInterval{250};

}  // namespace

ProductionLine::ProductionLine(const CtlArgs& args, const CtlStreams& io)
    : m_args(args), m_io(io), m_next(args.first) {}

bool ProductionLine::Provision(const std::string& portName, std::chrono::milliseconds wait) {
    ModulePort port(portName);
    ProgressLine progress(m_io.err, m_io.errIsTerminal);
    ModuleSession session(port, m_io.err, progress);
    if (!WaitForModule(port, session, wait)) {
        ++m_failed;
        PrintResult(portName, "", "", "FAIL", "no module answered");
        return false;
    }
    Configure(port, session);
    return true;
}

// A module that was provisioned before answers at the framing it was given.
bool ProductionLine::Answers(ModulePort& port, ModuleSession& session) const {
    ProgressLine quiet(m_io.err, false);
    bool found = true;
    if (m_args.lineAuto)
        return !port.Find(ProbeTimeoutMs(), quiet, found) && found && session.Check() == EXIT_DONE;
    std::vector<LineSettings> lines{m_args.line};
    if (m_args.settings.uart && m_args.settings.uart->line != m_args.line)
        lines.push_back(m_args.settings.uart->line);
    return std::any_of(lines.begin(), lines.end(), [&](const LineSettings& line) {
        return !port.Open(line) && session.Check() == EXIT_DONE;
    });
}

bool ProductionLine::WaitForModule(ModulePort& port, ModuleSession& session,
                                   std::chrono::milliseconds wait) const {
    const auto deadline = std::chrono::steady_clock::now() + wait;
    while (!Answers(port, session)) {
        port.Close();
        if (Interrupted() || std::chrono::steady_clock::now() + kRetryInterval > deadline) return false;
        std::this_thread::sleep_for(kRetryInterval);
    }
    return true;
}

void ProductionLine::Configure(ModulePort& port, ModuleSession& session) {
    if (session.Read() != EXIT_DONE) {
        ++m_failed;
        PrintResult(port.Name(), "", "", "FAIL", session.Why());
        return;
    }
    const BdAddr address = session.Reading().devInfo.addr;
    Known& known = Entry(address);
    if (known.passed) {
        ++m_repeated;
        PrintResult(port.Name(), AddressText(address), NameText(session.Reading().devInfo), "REPEAT",
                    "this module passed before and is left as it is");
        return;
    }
    ModuleSettings given = m_args.settings;
    if (m_args.namePattern) given.name = m_args.namePattern->Expand(known.number, address);
    const ModuleWrite write = MergeSettings(session.Reading(), port.Line(), given);
    known.passed = session.ApplyAndVerify(write) == EXIT_DONE;
    ++(known.passed ? m_passed : m_failed);
    PrintResult(port.Name(), AddressText(address), write.name, known.passed ? "PASS" : "FAIL",
                known.passed ? "" : session.Why());
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
    m_io.out.flush();
}

void ProductionLine::PrintSummary() const {
    m_io.out << Record()
                    .AddText("result", "summary")
                    .AddNumber("passed", m_passed)
                    .AddNumber("failed", m_failed)
                    .AddNumber("repeated", m_repeated)
                    .Format(m_args.json)
             << std::flush;
}

int ProductionLine::ExitStatus() const {
    return m_failed == 0 ? EXIT_DONE : EXIT_REFUSED;
}

}  // namespace tarnel::ctl
