// Any line offered straight to any response parser, as the framing could cut
// it or not: a block must come back with its record's size and terminated
// text, or, when the line is not the parser's, with nothing in its record.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "ResponseCheck.h"
#include "protocol/ResponseParsers.h"

namespace {

constexpr ResponseParser PARSERS[] = {
    ParseOk,         ParseError,   ParseModelName,  ParseVersion,    ParseInfo1,     ParseInfo2,
    ParseDeviceLine, ParseAtcm,    ParseMfrMode,    ParseMfrMode2,   ParseCmbda,     ParseMfrbda,
    ParseInquiry,    ParseConnect, ParseDisconnect, ParseTargetAddr, ParseQuietMode,
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const ResponseParser parse = PARSERS[data[0] % std::size(PARSERS)];
    const std::vector<char> line = Expand(data + 1, size - 1);
    CheckBlock(parse(std::string_view(line.data(), line.size())));
    return 0;
}
