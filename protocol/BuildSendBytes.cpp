#include "protocol/BuildSendBytes.h"

#include <algorithm>
#include <string>

#include "protocol/HexPairToByte.h"
#include "protocol/TextConversion.h"

namespace {

SendBytes Refused(int errorId) {
    return SendBytes{{}, errorId};
}

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

void AppendLineEnd(std::vector<uint8_t>& bytes, bool cr, bool lf) {
    if (cr) bytes.push_back(0x0D);
    if (lf) bytes.push_back(0x0A);
}

SendBytes BuildText(std::u16string_view line, bool cr, bool lf) {
    if (line.size() > MAX_TEXT_LINE_UNITS) return Refused(SEND_ERR_TOO_LONG);
    std::string utf8;
    ToUtf8(line, utf8);
    SendBytes result{{utf8.begin(), utf8.end()}, 0};
    AppendLineEnd(result.bytes, cr, lf);
    return result;
}

SendBytes BuildHex(std::u16string_view line, bool cr, bool lf) {
    if (line.size() > MAX_HEX_LINE_UNITS) return Refused(SEND_ERR_TOO_LONG);
    if (line.size() % 2 != 0) return Refused(SEND_ERR_ODD_LENGTH);
    std::string digits;
    ToUtf8(line, digits);
    if (!std::all_of(digits.begin(), digits.end(), IsHexDigit)) return Refused(SEND_ERR_BAD_FORMAT);
    if (digits.size() % 2 != 0) return Refused(SEND_ERR_CONVERSION);
    SendBytes result;
    result.bytes.resize(digits.size() / 2);
    for (std::size_t i = 0; i < result.bytes.size(); ++i) {
        if (!HexPairToByte(digits[2 * i], digits[2 * i + 1], result.bytes[i]))
            return Refused(SEND_ERR_CONVERSION);
    }
    AppendLineEnd(result.bytes, cr, lf);
    return result;
}

}  // namespace

SendBytes BuildSendBytes(std::u16string_view line, bool hex, bool cr, bool lf) {
    return hex ? BuildHex(line, cr, lf) : BuildText(line, cr, lf);
}
