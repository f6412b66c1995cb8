// Arbitrary bytes from the module, cut into arbitrary reads, framed and
// dispatched over the module's response table as a command or poll of any
// code would. A block must always come back, with exactly its record's size,
// and text fields must stay terminated inside their records.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "ResponseCheck.h"
#include "protocol/ResponseTable.h"

namespace {

constexpr int CODES[] = {2,  3,  4,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20,
                         21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 32, 33, 34, 35, 36, 37, 99};

// The engine's framing and dispatch over the module's table, without a channel.
class TableDispatch : public AtCmdBase {
public:
    TableDispatch() { m_responseTable = ModuleResponseEntries(); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static TableDispatch engine;
    if (size < 2) return 0;
    // Below 0x80 the first byte picks one code for the whole stream, as one
    // command has; from 0x80 up every call takes the next code, which lets a
    // short run offer its lines to every handler.
    const bool rotate = data[0] >= 0x80;
    std::size_t codeIndex = data[0] % std::size(CODES);
    const std::size_t chunk = 1 + data[1] % 64;
    const std::vector<char> stream = Expand(data + 2, size - 2);

    std::vector<char> buffer;
    for (std::size_t pos = 0; pos < stream.size(); pos += chunk) {
        const std::size_t n = std::min(chunk, stream.size() - pos);
        buffer.insert(buffer.end(), stream.begin() + pos, stream.begin() + pos + n);
        for (;;) {
            const std::size_t before = buffer.size();
            const ResultBlock block = engine.TakeResponse(buffer, CODES[codeIndex]);
            CheckBlock(block);
            // The dispatch answers a line no parser took with a block of its own.
            Check(ResultCode(block.get()) != RES_NOT_MINE || PayloadLength(block.get()) == 0);
            if (rotate) codeIndex = (codeIndex + 1) % std::size(CODES);
            if (buffer.size() == before) break;
        }
        Check(buffer.size() <= AtCmdBase::RX_LIMIT);
    }
    return 0;
}
