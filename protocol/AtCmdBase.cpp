#include "protocol/AtCmdBase.h"

#include <algorithm>
#include <chrono>

AtCmdBase::AtCmdBase() = default;

AtCmdBase::~AtCmdBase() = default;

int AtCmdBase::WaitForData() {
    std::unique_lock lock(m_rxMutex);
    // Received bytes do not notify: new data is found when the slice ends,
    // or at once when the flag is already set.
    m_rxCond.wait_for(lock, std::chrono::milliseconds(WAIT_SLICE_MS),
                      [this] { return m_dataReady.load() || m_closing.load(); });
    if (m_closing) return -1;
    m_dataReady = false;
    if (m_rxBuf.empty()) return 0;
    m_respBuf.insert(m_respBuf.end(), m_rxBuf.begin(), m_rxBuf.end());
    m_rxBuf.clear();
    return static_cast<int>(m_respBuf.size());
}

const char* AtCmdBase::FindLineEnd(const char* p, const char* end) {
    if (p == end) return nullptr;
    if (*p == '\r') {
        if (end - p < 4) return nullptr;
        if (p[1] != '\n') return p + 1;
        const char* cr = std::find(p + 2, end, '\r');
        if (cr == end || cr + 1 == end) return nullptr;
        return cr[1] == '\n' ? cr + 2 : p + 1;
    }
    if (*p == '\n') return p + 1;
    const char* cr = std::find(p, end, '\r');
    return cr == end ? nullptr : cr;
}

std::unique_ptr<uint8_t[]> AtCmdBase::TakeResponse(std::vector<char>& buffer, int code) {
    std::size_t used = 0;
    std::unique_ptr<uint8_t[]> result = ReadResponse(buffer, code, used);
    buffer.erase(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(used));
    return result;
}

std::unique_ptr<uint8_t[]> AtCmdBase::ReadResponse(const std::vector<char>& buffer, int code,
                                                   std::size_t& used) {
    used = 0;
    if (buffer.empty()) return MakeResultBlock(RES_INCOMPLETE);
    std::unique_ptr<uint8_t[]> result = MakeResultBlock(RES_NOT_MINE);
    const char* const begin = buffer.data();
    const char* const end = begin + buffer.size();
    const char* p = begin;
    for (;;) {
        const char* q = FindLineEnd(p, end);
        if (!q) {
            // An unfinished unit this long can only become a line over the
            // limit; dropping it keeps the buffer bounded against a peer that
            // never sends CR.
            if (static_cast<std::size_t>(end - p) > RX_LIMIT) {
                SetResultCode(result.get(), RES_LINE_TOO_LONG);
                p = end;
            } else {
                SetResultCode(result.get(), RES_INCOMPLETE);
            }
            break;
        }
        if (q == p + 1) {
            p = q;
            continue;
        }
        if (q - p >= 4 && std::equal(p, p + 4, "\r\n\r\n")) {
            p += 2;
            continue;
        }
        const bool crlfForm = p[0] == '\r' && p[1] == '\n';
        if (!crlfForm && q < end && *q == '\r') ++q;
        result = DispatchLine(std::vector<char>(p, q), code);
        p = q;
        break;
    }
    used = static_cast<std::size_t>(p - begin);
    return result;
}

std::unique_ptr<uint8_t[]> AtCmdBase::DispatchLine(const std::vector<char>& line, int code) {
    bool offered = false;
    for (const ResponseEntry& entry : m_responseTable) {
        if (entry.commandCode != code || line.size() > entry.maxLineLength) continue;
        offered = true;
        for (const ResponseHandler& handler : entry.handlers) {
            std::vector<char> copy = line;
            std::unique_ptr<uint8_t[]> block = handler(copy, code);
            if (!block || ResultCode(block.get()) != RES_NOT_MINE) return block;
        }
    }
    return MakeResultBlock(!offered && line.size() > MAX_LINE_LENGTH ? RES_LINE_TOO_LONG : RES_NOT_MINE);
}
