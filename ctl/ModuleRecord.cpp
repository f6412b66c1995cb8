#include "ctl/ModuleRecord.h"

#include <cstring>

namespace tarnel::ctl {
namespace {

std::string StateText(uint8_t state) {
    static constexpr const char* kStates[] = {"idle", "scanning", "inquiring", "connecting", "connected"};
    return state < std::size(kStates) ? kStates[state] : "unknown (" + std::to_string(state) + ")";
}

}  // namespace

std::string AddressText(const BdAddr& address) {
    std::string text;
    FormatBdAddr(address, text);
    return text;
}

std::string NameText(const DeviceInfo& info) {
    return {info.name, strnlen(info.name, sizeof info.name)};
}

Record ModuleRecord(const std::string& port, const std::string& model, const ModuleReading& reading,
                    const LineSettings& line) {
    Record record;
    record.AddText("port", port);
    if (!model.empty()) record.AddText("model", model);
    record.AddText("firmware", reading.fwVersion)
        .AddText("address", AddressText(reading.devInfo.addr))
        .AddText("name", NameText(reading.devInfo))
        .AddNumber("mode", reading.devInfo.opMode)
        .AddText("state", StateText(reading.devInfo.state))
        .AddText("uart", FormatLineSettings(line))
        .AddFlag("flow-control", reading.uartInfo[0] == 1)
        .AddFlag("responses", reading.responses == 0)
        .AddText("target", reading.target.IsUnset() ? "" : AddressText(reading.target));
    return record;
}

}  // namespace tarnel::ctl
