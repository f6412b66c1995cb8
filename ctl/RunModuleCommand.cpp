#include "ctl/RunModuleCommand.h"

#include <string>

#include "ctl/DryRun.h"
#include "ctl/ExitStatus.h"
#include "ctl/Interrupt.h"
#include "ctl/Messages.h"
#include "ctl/ModuleRecord.h"
#include "ctl/ModuleSession.h"
#include "ctl/OpenModulePort.h"
#include "ctl/RunProvision.h"
#include "ctl/RunSearch.h"
#include "ctl/RunVerify.h"
#include "ctl/SettingsMerge.h"

namespace tarnel::ctl {
namespace {

void PrintModule(const CtlArgs& args, const ModuleSession& session, const ModulePort& port,
                 const CtlStreams& io) {
    io.out << ModuleRecord(port.Name(), session.Model(), session.Reading(), port.Line()).Format(args.json);
    FlushOutput(io.out);
}

// info and reset: a check, then `step`, then the module as it is now.
int CheckThenPrint(const CtlArgs& args, ModulePort& port, ModuleSession& session, const CtlStreams& io,
                   int (ModuleSession::*step)()) {
    int status = session.Check();
    if (status == EXIT_DONE) status = (session.*step)();
    if (status == EXIT_DONE) status = session.Finished();
    if (status != EXIT_DONE) return session.Report(status, io, args.json);
    PrintModule(args, session, port, io);
    return EXIT_DONE;
}

// Reading is not writing: a connected module keeps its link.
int RunDryRun(const CtlArgs& args, ModulePort& port, ModuleSession& session, const CtlStreams& io) {
    int status = session.Check();
    if (status == EXIT_DONE) status = session.Read();
    if (status == EXIT_DONE) status = session.Finished();
    if (status != EXIT_DONE) return session.Report(status, io, args.json);
    return PrintDryRun(MergeSettings(session.AsFound(), port.Line(), args.settings), port.Name(), args.json,
                       io);
}

int RunSet(const CtlArgs& args, ModulePort& port, ModuleSession& session, const CtlStreams& io) {
    if (args.dryRun) return RunDryRun(args, port, session, io);
    int status = session.Check();
    if (status == EXIT_DONE) status = session.ReadUnlinked();
    if (status == EXIT_DONE)
        status = session.ApplyAndVerify(MergeSettings(session.AsFound(), port.Line(), args.settings));
    if (status == EXIT_DONE) status = session.Finished();
    // What was read back is shown also when a value did not take.
    if (status == EXIT_DONE || !session.NotTakenValues().empty()) PrintModule(args, session, port, io);
    if (status != EXIT_DONE) return session.Report(status, io, args.json);
    io.err << "tarnelctl: " << port.Name() << ": " << Msg(IDS_SETTING_COMPLETED) << "\n";
    return EXIT_DONE;
}

bool Confirmed(const CtlArgs& args, const CtlStreams& io) {
    if (args.yes) return true;
    io.err << Msg(IDS_FACTORY_RESET_QUESTION) << " (" << args.port << ") [y/N] " << std::flush;
    std::string answer;
    std::getline(io.in, answer);
    return answer == "y" || answer == "Y" || answer == "yes";
}

int RunFind(const CtlArgs& args, ModulePort& port, const CtlStreams& io) {
    io.out << Record()
                  .AddText("port", port.Name())
                  .AddText("uart", FormatLineSettings(port.Line()))
                  .Format(args.json);
    FlushOutput(io.out);
    return EXIT_DONE;
}

int RunOnPort(const CtlArgs& args, const CtlStreams& io) {
    ProgressLine progress(io.err, io.errIsTerminal);
    progress.SetJson(args.progressJson);
    ModulePort port(args.port);
    CtlArgs opening = args;
    opening.lineAuto = args.lineAuto || args.command == Command::Find;
    if (const int status = OpenModulePort(opening, port, io, progress); status != EXIT_DONE) return status;
    ModuleSession session(port, io.err, progress);
    switch (args.command) {
        case Command::Info:
            return CheckThenPrint(args, port, session, io, &ModuleSession::Read);
        case Command::Set:
            return RunSet(args, port, session, io);
        case Command::Reset:
            return CheckThenPrint(args, port, session, io, &ModuleSession::FactoryReset);
        case Command::Verify:
            return RunVerify(args, port, session, io);
        case Command::Search:
            return RunSearch(args, port, session, io, progress);
        default:
            return RunFind(args, port, io);
    }
}

}  // namespace

int RunModuleCommand(const CtlArgs& args, const CtlStreams& io) {
    if (args.command == Command::Reset && !args.yes && !io.inIsTerminal) {
        io.err << "tarnelctl: A factory reset needs --yes when there is no terminal to confirm it on.\n";
        return EXIT_USAGE;
    }
    if (args.command == Command::Reset && !Confirmed(args, io)) {
        io.err << "tarnelctl: The module was not reset.\n";
        return Interrupted() ? EXIT_INTERRUPTED : EXIT_REFUSED;
    }
    if (args.command == Command::Provision) return RunProvision(args, io);
    return RunOnPort(args, io);
}

}  // namespace tarnel::ctl
