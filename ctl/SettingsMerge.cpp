#include "ctl/SettingsMerge.h"

#include "ctl/ModuleRecord.h"

namespace tarnel::ctl {

ModuleWrite MergeSettings(const ModuleReading& current, const LineSettings& line,
                          const ModuleSettings& given) {
    ModuleWrite write;
    write.name = given.name.value_or(NameText(current.devInfo));
    const UartSettings uart = given.uart.value_or(UartSettings{line, current.uartInfo[0] == 1});
    write.baud = uart.line.baud;
    write.parity = uart.line.parity;
    write.stopBits = uart.line.stopBits;
    write.flow = uart.flow ? 1 : 0;
    write.opMode = given.opMode.value_or(current.devInfo.opMode);
    if (given.target) write.target = *given.target;
    write.responses = given.responses ? (*given.responses ? 0 : 1) : current.responses;
    return write;
}

std::vector<std::string> NotTaken(const ModuleWrite& written, const ModuleReading& after) {
    std::vector<std::string> missed;
    if (NameText(after.devInfo) != written.name) missed.emplace_back("name");
    if (after.uartInfo[0] != written.flow) missed.emplace_back("flow control");
    if (after.devInfo.opMode != written.opMode) missed.emplace_back("mode");
    if (!written.target.IsUnset() && after.target != written.target) missed.emplace_back("target");
    if (after.responses != written.responses) missed.emplace_back("responses");
    return missed;
}

LineSettings WrittenLine(const ModuleWrite& written) {
    return {written.baud, written.parity, written.stopBits};
}

std::string WrittenText(const ModuleWrite& written) {
    std::string text = "name: " + written.name + ", mode: " + std::to_string(written.opMode) +
                       ", uart: " + FormatLineSettings(WrittenLine(written)) +
                       ", flow-control: " + (written.flow == 1 ? "yes" : "no") +
                       ", responses: " + (written.responses == 0 ? "yes" : "no");
    if (!written.target.IsUnset()) text += ", target: " + AddressText(written.target);
    return text;
}

}  // namespace tarnel::ctl
