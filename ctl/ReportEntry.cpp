#include "ctl/ReportEntry.h"

#include "ctl/ModuleRecord.h"
#include "ctl/SystemFacts.h"

namespace tarnel::ctl {
namespace {

std::string UartText(const LineSettings& line, bool flow) {
    return FormatLineSettings(line) + (flow ? ",on" : ",off");
}

std::string TargetText(const BdAddr& target) {
    return target.IsUnset() ? "" : AddressText(target);
}

void AddWritten(Record& record, const std::optional<ModuleWrite>& written) {
    const bool known = written.has_value();
    record
        .AddText(
            "written-uart",
            known ? UartText({written->baud, written->parity, written->stopBits}, written->flow == 1) : "")
        .AddText("written-mode", known ? std::to_string(written->opMode) : "")
        .AddText("written-target", known ? TargetText(written->target) : "")
        .AddText("written-responses", known ? (written->responses == 0 ? "on" : "off") : "");
}

void AddRead(Record& record, const std::optional<ModuleReading>& read, const LineSettings& line) {
    const bool known = read.has_value();
    record.AddText("firmware", known ? read->fwVersion : "")
        .AddText("read-name", known ? NameText(read->devInfo) : "")
        .AddText("read-uart", known ? UartText(line, read->uartInfo[0] == 1) : "")
        .AddText("read-mode", known ? std::to_string(read->devInfo.opMode) : "")
        .AddText("read-target", known ? TargetText(read->target) : "")
        .AddText("read-responses", known ? (read->responses == 0 ? "on" : "off") : "");
}

}  // namespace

Record ReportRecord(const ReportEntry& entry) {
    Record record;
    record.AddText("time", LocalTimeText(entry.start))
        .AddText("host", entry.host)
        .AddText("port", entry.port)
        .AddText("port-id", entry.portIdentity)
        .AddText("result", entry.result)
        .AddText("why", entry.why)
        .AddText("address", entry.address)
        .AddText("name", entry.name)
        .AddText("model", entry.model);
    AddWritten(record, entry.written);
    AddRead(record, entry.read, entry.line);
    record.AddText("settings", entry.settingsPath).AddText("settings-sha256", entry.settingsSha256);
    const auto duration = std::chrono::steady_clock::now() - entry.startSteady;
    record.AddNumber("duration-ms", std::chrono::duration_cast<std::chrono::milliseconds>(duration).count());
    return record;
}

}  // namespace tarnel::ctl
