#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <system_error>

#include "ctl/CtlArgs.h"
#include "ctl/CtlStreams.h"
#include "ctl/LineState.h"
#include "ctl/ReportEntry.h"
#include "protocol/BdAddr.h"

namespace tarnel::ctl {

class ModulePort;
class ModuleSession;
class ProductionReport;

// provision: configures and verifies one module after another, one result
// line each, and keeps count of the modules. A module is known by its
// address: one that passed and comes again is reported and left alone; one
// that failed is tried again under the number it got, and counts as passed
// once it passes. With --watch, Provision runs on several ports at once,
// one thread each.
class ProductionLine {
public:
    // What became of one port; each but Abandoned printed a result line.
    enum class Outcome {
        Done,         // the module passed, failed or came again
        NotOpened,    // the port could not be opened (the line has the system's reason)
        NoModule,     // no module answered
        PortLost,     // the port failed while its module was configured
        Exhausted,    // the name pattern gives no valid name for this module's number
        Interrupted,  // Ctrl+C while the module was configured
        Abandoned,    // Ctrl+C while waiting for a module to answer: nothing is counted
    };

    // `report`, when there is one, gets a record of every module, and
    // `state` the numbers given (a state it found is gone on from); the line
    // stops when either cannot be written.
    ProductionLine(const CtlArgs& args, const CtlStreams& io, ProductionReport* report = nullptr,
                   LineState* state = nullptr);

    // Waits up to `wait` for a module that answers on `portName`, then
    // configures and verifies it. With --watch a port where none answers is
    // no module's failure: it is reported as NO MODULE and not counted as
    // failed.
    Outcome Provision(const std::string& portName, std::chrono::milliseconds wait);
    void PrintSummary() const;
    // EXIT_REPORT when a record or the state could not be written, else EXIT_DONE when
    // every module passed (--verify-only: held the target), else EXIT_REFUSED.
    int ExitStatus() const;
    // A module's number outgrew the name pattern, or a record or the state
    // could not be written: no module is to be started.
    bool Stopped() const;
    bool ReportFailed() const;
    // Ctrl+C cut a module's configuration short.
    bool CutShort() const;

private:
    using Known = LineState::Module;
    bool Answers(ModulePort& port, ModuleSession& session, std::error_code& openError) const;
    bool WaitForModule(ModulePort& port, ModuleSession& session, std::chrono::milliseconds wait,
                       std::error_code& openError) const;
    Outcome NoModule(ReportEntry& entry, const std::error_code& openError);
    Outcome Configure(ModulePort& port, ModuleSession& session, ReportEntry& entry);
    Outcome VerifyOnly(const ModulePort& port, const ModuleSession& session, ReportEntry& entry);
    Outcome DryRun(ReportEntry& entry);
    Outcome Counted(Outcome outcome);
    // Prints the module's result line and appends its record to the report.
    void Finish(ReportEntry& entry, const std::string& result, const std::string& why);
    void AppendRecord(const ReportEntry& entry);
    void SaveState();
    // The report or the state file failed: the line stops.
    void StopForFile(const std::string& what, const std::error_code& error);
    Known& Entry(const BdAddr& address);
    Known* Find(const BdAddr& address);
    // The module's entry, or the one it would get, without adding it.
    Known Peek(const BdAddr& address);

    const CtlArgs& m_args;
    const CtlStreams& m_io;
    ProductionReport* m_report;
    LineState* m_state;
    const std::string m_host;
    // The counts, the known modules and the output, for stations on several threads.
    mutable std::mutex m_mutex;
    std::deque<Known> m_known;  // a deque: an entry stays where it is while others are added
    uint64_t m_next;
    unsigned m_unanswered = 0;  // ports on which no module could be told apart
    unsigned m_repeated = 0;
    unsigned m_same = 0;       // --verify-only: modules that hold the target
    unsigned m_different = 0;  // and those that do not
    unsigned m_noModule = 0;   // --watch: new ports where no module answered
    bool m_stopped = false;
    bool m_cutShort = false;
    bool m_reportFailed = false;
};

}  // namespace tarnel::ctl
