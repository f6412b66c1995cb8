#include "ctl/SettingsDiff.h"

#include "ctl/ModuleRecord.h"

namespace tarnel::ctl {
namespace {

std::string UartText(const UartSettings& uart) {
    return FormatLineSettings(uart.line) + (uart.flow ? ",on" : ",off");
}

std::string OnOff(bool on) {
    return on ? "on" : "off";
}

}  // namespace

std::vector<SettingDiff> SettingsDiff(const ModuleSettings& target, const ModuleReading& found,
                                      const LineSettings& line) {
    std::vector<SettingDiff> diffs;
    const auto compare = [&](const char* setting, const std::string& module, const std::string& wanted) {
        if (module != wanted) diffs.push_back({setting, module, wanted});
    };
    if (target.name) compare("name", NameText(found.devInfo), *target.name);
    if (target.uart) compare("uart", UartText({line, found.uartInfo[0] == 1}), UartText(*target.uart));
    if (target.opMode) compare("mode", std::to_string(found.devInfo.opMode), std::to_string(*target.opMode));
    if (target.target)
        compare("target", found.target.IsUnset() ? "" : AddressText(found.target),
                AddressText(*target.target));
    if (target.responses) compare("responses", OnOff(found.responses == 0), OnOff(*target.responses));
    return diffs;
}

std::string DiffText(const SettingDiff& diff) {
    return "'" + diff.module + "', target '" + diff.target + "'";
}

}  // namespace tarnel::ctl
