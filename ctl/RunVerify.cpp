#include "ctl/RunVerify.h"

#include "ctl/ExitStatus.h"
#include "ctl/Interrupt.h"
#include "ctl/Record.h"
#include "ctl/SettingsDiff.h"

namespace tarnel::ctl {

int RunVerify(const CtlArgs& args, ModulePort& port, ModuleSession& session, const CtlStreams& io) {
    int status = session.Check();
    if (status == EXIT_DONE) status = session.Read();
    if (status == EXIT_DONE) status = session.Finished();
    if (status != EXIT_DONE) return session.Report(status, io, args.json);
    const std::vector<SettingDiff> diffs = SettingsDiff(args.settings, session.AsFound(), port.Line());
    Record record;
    record.AddText("port", port.Name()).AddText("result", diffs.empty() ? "same" : "different");
    for (const SettingDiff& diff : diffs)
        record.AddText(diff.setting, DiffText(diff));
    if (!args.settingsPath.empty())
        record.AddText("settings", args.settingsPath).AddText("settings-sha256", args.settingsSha256);
    io.out << record.Format(args.json);
    FlushOutput(io.out);
    return diffs.empty() ? EXIT_DONE : EXIT_REFUSED;
}

}  // namespace tarnel::ctl
