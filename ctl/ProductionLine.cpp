#include "ctl/ProductionLine.h"

#include <algorithm>
#include <thread>

#include "ctl/DryRun.h"
#include "ctl/ExitStatus.h"
#include "ctl/Interrupt.h"
#include "ctl/Messages.h"
#include "ctl/ModulePort.h"
#include "ctl/ModuleRecord.h"
#include "ctl/ModuleSession.h"
#include "ctl/OpenErrorMessage.h"
#include "ctl/OpenModulePort.h"
#include "ctl/ProductionReport.h"
#include "ctl/ProgressLine.h"
#include "ctl/Record.h"
#include "ctl/SettingsDiff.h"
#include "ctl/SettingsMerge.h"
#include "ctl/StablePortIdentity.h"
#include "ctl/SystemFacts.h"
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

ProductionLine::ProductionLine(const CtlArgs& args, const CtlStreams& io, ProductionReport* report,
                               LineState* state)
    : m_args(args), m_io(io), m_report(report), m_state(state), m_host(HostName()), m_next(args.first) {
    if (state == nullptr || !state->Found()) return;
    m_next = state->Next();
    m_known = state->Modules();
}

ProductionLine::Outcome ProductionLine::Provision(const std::string& portName,
                                                  std::chrono::milliseconds wait) {
    ModulePort port(portName);
    // Stations at work at once cannot share one progress line.
    ProgressLine progress(m_io.err, m_io.errIsTerminal && !m_args.watch);
    progress.SetJson(m_args.progressJson);
    ModuleSession session(port, m_io.err, progress);
    ReportEntry entry;
    entry.host = m_host;
    entry.port = portName;
    entry.portIdentity = StablePortIdentity(portName);
    entry.settingsPath = m_args.settingsPath;
    entry.settingsSha256 = m_args.settingsSha256;
    std::error_code openError;
    if (WaitForModule(port, session, wait, openError)) return Counted(Configure(port, session, entry));
    if (Interrupted()) return Outcome::Abandoned;
    return NoModule(entry, openError);
}

// A watched port where no module answers is not a module that failed: it may
// be anybody's adapter. A port named with --port was meant to hold one.
ProductionLine::Outcome ProductionLine::NoModule(ReportEntry& entry, const std::error_code& openError) {
    {
        const std::lock_guard lock(m_mutex);
        ++(m_args.watch ? m_noModule : m_unanswered);
    }
    Finish(entry, m_args.watch ? "NO MODULE" : "FAIL",
           openError ? OpenErrorMessage(entry.port, openError) : "no module answered");
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

bool ProductionLine::ReportFailed() const {
    const std::lock_guard lock(m_mutex);
    return m_reportFailed;
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

ProductionLine::Outcome ProductionLine::Configure(ModulePort& port, ModuleSession& session,
                                                  ReportEntry& entry) {
    entry.model = session.Model();
    // Reading is not writing: a module only looked at keeps its link.
    const bool looking = m_args.verifyOnly || m_args.dryRun;
    const int readStatus = looking ? session.Read() : session.ReadUnlinked();
    entry.read = session.Reading();
    entry.line = port.Line();
    if (readStatus != EXIT_DONE) {
        {
            const std::lock_guard lock(m_mutex);
            ++m_unanswered;
        }
        entry.read.reset();
        Finish(entry, "FAIL", session.Why());
        return OutcomeOf(readStatus);
    }
    const BdAddr address = session.Reading().devInfo.addr;
    entry.address = AddressText(address);
    if (m_args.verifyOnly) return VerifyOnly(port, session, entry);
    bool repeated = false;
    uint64_t number = 0;
    {
        const std::lock_guard lock(m_mutex);
        const std::size_t before = m_known.size();
        // A dry run gives out no number: the module it shows gets the next one later.
        const Known known = m_args.dryRun ? Peek(address) : Entry(address);
        repeated = known.passed;
        number = known.number;
        if (repeated) ++m_repeated;
        if (m_known.size() != before) SaveState();
    }
    if (repeated) {
        entry.name = NameText(session.Reading().devInfo);
        Finish(entry, "REPEAT", "this module passed before and is left as it is");
        return Outcome::Done;
    }
    ModuleSettings given = m_args.settings;
    if (m_args.namePattern) {
        given.name = m_args.namePattern->Expand(number, address);
        entry.name = *given.name;
        // Only a pattern that grows with the number gets here: the first one was checked at the start.
        if (const int error = DeviceNameError(*given.name)) {
            Finish(entry, "FAIL",
                   Msg(error) + " (the name pattern for number " + std::to_string(number) +
                       "; the line stops, nothing was written)");
            return Outcome::Exhausted;
        }
    }
    entry.written = MergeSettings(session.AsFound(), port.Line(), given);
    entry.name = entry.written->name;
    if (m_args.dryRun) return DryRun(entry);
    const int status = session.ApplyAndVerify(*entry.written);
    entry.read = session.Reading();
    entry.line = port.Line();
    const bool passed = status == EXIT_DONE;
    {
        const std::lock_guard lock(m_mutex);
        Entry(address).passed = passed;
        SaveState();
    }
    Finish(entry, passed ? "PASS" : "FAIL", passed ? "" : session.Why());
    return OutcomeOf(status);
}

// --verify-only: a module's name is compared only when the line knows its
// number; no number is given out to one it does not know.
ProductionLine::Outcome ProductionLine::VerifyOnly(const ModulePort& port, const ModuleSession& session,
                                                   ReportEntry& entry) {
    const BdAddr address = session.Reading().devInfo.addr;
    ModuleSettings target = m_args.settings;
    {
        const std::lock_guard lock(m_mutex);
        const Known* known = Find(address);
        if (m_args.namePattern && known != nullptr)
            target.name = m_args.namePattern->Expand(known->number, address);
    }
    const std::vector<SettingDiff> diffs = SettingsDiff(target, session.AsFound(), port.Line());
    std::string why;
    for (const SettingDiff& diff : diffs)
        why += (why.empty() ? "" : "; ") + diff.setting + " " + DiffText(diff);
    {
        const std::lock_guard lock(m_mutex);
        ++(diffs.empty() ? m_same : m_different);
    }
    entry.name = NameText(session.Reading().devInfo);
    Finish(entry, diffs.empty() ? "SAME" : "DIFFERENT", why);
    return Outcome::Done;
}

// --dry-run: the commands under the lock, so that a station's lines stay together.
ProductionLine::Outcome ProductionLine::DryRun(ReportEntry& entry) {
    int status = EXIT_DONE;
    {
        const std::lock_guard lock(m_mutex);
        status = PrintDryRun(*entry.written, entry.port, m_args.json, m_io);
        if (status != EXIT_DONE) ++m_unanswered;
    }
    entry.written.reset();
    Finish(entry, status == EXIT_DONE ? "DRY RUN" : "FAIL",
           status == EXIT_DONE ? "nothing was written" : "a value cannot be sent");
    return Outcome::Done;
}

ProductionLine::Known* ProductionLine::Find(const BdAddr& address) {
    const auto it = std::find_if(m_known.begin(), m_known.end(),
                                 [&](const Known& known) { return known.address == address; });
    return it == m_known.end() ? nullptr : &*it;
}

ProductionLine::Known ProductionLine::Peek(const BdAddr& address) {
    const Known* known = Find(address);
    return known != nullptr ? *known : Known{address, m_next, false};
}

ProductionLine::Known& ProductionLine::Entry(const BdAddr& address) {
    if (Known* known = Find(address)) return *known;
    return m_known.emplace_back(Known{address, m_next++, false});
}

void ProductionLine::Finish(ReportEntry& entry, const std::string& result, const std::string& why) {
    entry.result = result;
    entry.why = why;
    const std::string& address = entry.address;
    const std::string& name = entry.name;
    Record line;
    line.AddText("port", entry.port)
        .AddText("address", address)
        .AddText("name", name)
        .AddText("result", result);
    if (!why.empty()) line.AddText("why", why);
    // As a one-field record, so that a module's name cannot steer the terminal.
    const std::string text = (address.empty() ? "-" : address) + "  " + (name.empty() ? "-" : name) + "  " +
                             result + (why.empty() ? "" : ": " + why) + "  (" + entry.port + ")";
    const std::lock_guard lock(m_mutex);
    // The record is on disk before the operator sees the line: a line killed
    // once it printed a module still holds that module's record.
    AppendRecord(entry);
    m_io.out << (m_args.json ? line.Json() : Record().AddText("line", text).Text());
    FlushOutput(m_io.out);
}

// A configured module with no record is worse than a stopped line.
void ProductionLine::AppendRecord(const ReportEntry& entry) {
    if (m_report == nullptr || m_reportFailed) return;
    if (const std::error_code error = m_report->Append(ReportRecord(entry)))
        StopForFile("The report " + m_report->Path() + " could not be written (the module on " + entry.port +
                        " has no record)",
                    error);
}

// A line that forgot its numbers would give them again after a restart.
void ProductionLine::SaveState() {
    if (m_state == nullptr || m_reportFailed) return;
    if (const std::error_code error = m_state->Save(m_next, m_known))
        StopForFile("The state file " + m_state->Path() + " could not be written", error);
}

void ProductionLine::StopForFile(const std::string& what, const std::error_code& error) {
    m_reportFailed = true;
    m_stopped = true;
    m_io.err << "tarnelctl: " << what << ": " << error.message() << ". The line stops.\n" << std::flush;
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
    if (m_args.verifyOnly) summary.AddNumber("same", m_same).AddNumber("different", m_different);
    m_io.out << summary.Format(m_args.json);
    FlushOutput(m_io.out);
}

int ProductionLine::ExitStatus() const {
    const std::lock_guard lock(m_mutex);
    if (m_reportFailed) return EXIT_REPORT;
    const bool allPassed =
        m_unanswered == 0 && m_different == 0 &&
        std::all_of(m_known.begin(), m_known.end(), [](const Known& k) { return k.passed; });
    return allPassed ? EXIT_DONE : EXIT_REFUSED;
}

}  // namespace tarnel::ctl
