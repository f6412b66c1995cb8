// Any UTF-16 line with any mode and line end: the conversion answers bytes or
// one of its four errors, and its bytes keep the limits.

#include <cstddef>
#include <cstdint>
#include <string>

#include "protocol/BuildSendBytes.h"

namespace {

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const bool hex = data[0] & 1;
    const bool cr = data[0] & 2;
    const bool lf = data[0] & 4;
    std::u16string line;
    for (std::size_t i = 1; i + 1 < size; i += 2)
        line.push_back(static_cast<char16_t>(data[i] | data[i + 1] << 8));

    const SendBytes result = BuildSendBytes(line, hex, cr, lf);
    const std::size_t lineEnd = (cr ? 1 : 0) + (lf ? 1 : 0);
    if (!result.Ok()) {
        Check(result.errorId >= SEND_ERR_TOO_LONG && result.errorId <= SEND_ERR_CONVERSION);
        Check(result.bytes.empty());
        Check(hex || result.errorId == SEND_ERR_TOO_LONG);
        return 0;
    }
    if (hex) {
        Check(line.size() <= MAX_HEX_LINE_UNITS);
        Check(result.bytes.size() == line.size() / 2 + lineEnd);
    } else {
        Check(line.size() <= MAX_TEXT_LINE_UNITS);
        Check(result.bytes.size() >= line.size() + lineEnd &&
              result.bytes.size() <= 3 * line.size() + lineEnd);
    }
    return 0;
}
