#include "ctl/LineSettings.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "ctl/ParseUnsigned.h"

namespace tarnel::ctl {
namespace {

std::vector<std::string_view> SplitAtCommas(std::string_view text) {
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
        const std::size_t comma = text.find(',', start);
        fields.push_back(text.substr(start, comma - start));
        if (comma == std::string_view::npos) return fields;
        start = comma + 1;
    }
}

std::string OfferedBaudRates() {
    std::string list;
    for (const uint32_t baud : OFFERED_BAUD_RATES)
        list += (list.empty() ? "" : ", ") + std::to_string(baud);
    return list;
}

std::string ParseFields(const std::vector<std::string_view>& fields, LineSettings& line) {
    uint64_t baud = 0;
    if (!ParseUnsigned(fields[0], UINT32_MAX, baud) ||
        std::find(OFFERED_BAUD_RATES.begin(), OFFERED_BAUD_RATES.end(), baud) == OFFERED_BAUD_RATES.end())
        return "The baud rate must be one of " + OfferedBaudRates() + ", not '" + std::string(fields[0]) +
               "'.";
    const char parity = fields[1].size() == 1 ? static_cast<char>(std::toupper(fields[1][0])) : '?';
    if (std::find(OFFERED_PARITIES.begin(), OFFERED_PARITIES.end(), parity) == OFFERED_PARITIES.end())
        return "The parity must be N, E or O, not '" + std::string(fields[1]) + "'.";
    if (fields[2] != "1" && fields[2] != "2")
        return "The stop bits must be 1 or 2, not '" + std::string(fields[2]) + "'.";
    line = {static_cast<uint32_t>(baud), parity, static_cast<uint8_t>(fields[2][0] - '0')};
    return {};
}

}  // namespace

std::string ParseLineSettings(std::string_view text, LineSettings& line) {
    const auto fields = SplitAtCommas(text);
    if (fields.size() != 3)
        return "Expected BAUD,PARITY,STOP (for example 9600,N,1), not '" + std::string(text) + "'.";
    return ParseFields(fields, line);
}

std::string ParseUartSettings(std::string_view text, UartSettings& uart) {
    const auto fields = SplitAtCommas(text);
    if (fields.size() != 3 && fields.size() != 4)
        return "Expected BAUD,PARITY,STOP[,FLOW] (for example 115200,N,1,off), not '" + std::string(text) +
               "'.";
    if (fields.size() == 4 && fields[3] != "on" && fields[3] != "off")
        return "The flow control must be on or off, not '" + std::string(fields[3]) + "'.";
    LineSettings line;
    if (auto error = ParseFields(fields, line); !error.empty()) return error;
    uart = {line, fields.size() == 4 && fields[3] == "on"};
    return {};
}

std::string FormatLineSettings(const LineSettings& line) {
    return std::to_string(line.baud) + "," + line.parity + "," + std::to_string(line.stopBits);
}

}  // namespace tarnel::ctl
