#pragma once

// The module-independent half of the AT command engine: the receive and
// response buffers, the line framing and the dispatch of a line to the
// response handlers registered for a command code.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "protocol/ResultBlock.h"

class CSerialportMP;

// Turns one response line into a result block; RES_NOT_MINE when the line is
// not the handler's.
using ResponseHandler = std::function<std::unique_ptr<uint8_t[]>(std::vector<char>&, int)>;

// Longest response line the handlers are offered, unless their entry says otherwise.
inline constexpr std::size_t MAX_RESPONSE_LINE = 255;

struct ResponseEntry {
    int commandCode;
    std::vector<ResponseHandler> handlers;          // called in this order
    std::size_t maxLineLength = MAX_RESPONSE_LINE;  // longer lines are not offered to them
};

class AtCmdBase {
public:
    static constexpr std::size_t RX_LIMIT = 1024;                      // most bytes waiting in m_rxBuf
    static constexpr std::size_t MAX_LINE_LENGTH = MAX_RESPONSE_LINE;  // longer lines end the command
    static constexpr int WAIT_SLICE_MS = 10;

    virtual ~AtCmdBase();
    AtCmdBase(const AtCmdBase&) = delete;
    AtCmdBase& operator=(const AtCmdBase&) = delete;

    // The framing and dispatch steps the command loop runs. They touch only
    // their arguments and the response table, so they can be driven directly
    // with any bytes.

    // Where the unit starting at `p` ends: a position q with p < q <= end, or
    // null when no complete unit is there yet.
    static const char* FindLineEnd(const char* p, const char* end);

    // Consumes at most one line from the front of `buffer` (plus the bytes
    // skipped before it) and answers with the line's result: RES_INCOMPLETE
    // when no line was complete, RES_NOT_MINE when no handler took it,
    // RES_LINE_TOO_LONG for a line over 255 bytes (also for an unfinished unit
    // that can only become such a line once it outgrows RX_LIMIT; it is then
    // dropped, so the buffer stays bounded), else the handler's block.
    std::unique_ptr<uint8_t[]> TakeResponse(std::vector<char>& buffer, int code);
    // TakeResponse that leaves `buffer` as it is and sets `used` to the number
    // of bytes it would remove from its front.
    std::unique_ptr<uint8_t[]> ReadResponse(const std::vector<char>& buffer, int code, std::size_t& used);

    // Offers `line` to the handlers of `code` in table order (those whose
    // entry takes a line this long); the first block that is not RES_NOT_MINE
    // is the result, else RES_NOT_MINE, or RES_LINE_TOO_LONG for a line over
    // 255 bytes that no entry of `code` takes.
    std::unique_ptr<uint8_t[]> DispatchLine(const std::vector<char>& line, int code);

protected:
    AtCmdBase();

    // Waits up to one slice for received bytes and moves them to m_respBuf.
    // Returns -1 when closing, 0 when nothing arrived, else m_respBuf's size.
    int WaitForData();

    std::shared_ptr<CSerialportMP> m_channel;
    std::vector<uint8_t> m_rxBuf;  // guarded by m_rxMutex, at most RX_LIMIT bytes
    std::vector<char> m_respBuf;   // the running call's (one at a time), no lock
    std::mutex m_rxMutex;
    std::condition_variable m_rxCond;
    std::atomic<bool> m_closing{false};
    std::atomic<bool> m_dataReady{false};
    std::vector<ResponseEntry> m_responseTable;
};
