#include "protocol/TarnelComm.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "protocol/ResponseTable.h"
#include "serial/CSerialportMP.h"

std::atomic<int> g_openEngines{0};

namespace {

using Block = std::unique_ptr<uint8_t[]>;
using namespace std::placeholders;

// A query's data line, which the module may follow with an OK; reports are
// not answers and are followed by nothing.
bool IsQueryAnswer(int code) {
    return code >= RES_VERSION && code != RES_INQUIRY && code != RES_CONNECT && code != RES_DISCONNECT;
}

}  // namespace

TarnelComm::TarnelComm() {
    m_channel = std::make_shared<CSerialportMP>(g_ioServiceExec.IoContext());
    m_channel->m_readCallback = std::bind(&TarnelComm::OnRead, this, _1, _2, _3, _4);
    m_channel->m_writeCallback = std::bind(&TarnelComm::OnWrite, this, _1, _2, _3);
    m_responseTable = ModuleResponseEntries();
    m_dataReady = false;
}

// The owner closes first; closing here as well keeps the channel's pending
// completions from calling back into a destroyed engine if it did not.
TarnelComm::~TarnelComm() {
    Close();
}

std::error_code TarnelComm::Open(const std::string& port, unsigned baud, unsigned charSize, uint8_t parity,
                                 uint8_t stopBits, uint8_t flowControl) {
    if (charSize > UINT8_MAX) throw std::out_of_range("character size out of range");
    const std::error_code error =
        m_channel->Open(port, baud, static_cast<uint8_t>(charSize), parity, stopBits, flowControl);
    if (error) return error;
    m_closing = false;
    if (m_portFailed.exchange(false) || port != m_port) m_okAfterData = OkAfterData::Unknown;
    m_port = port;
    m_responsesOff = false;
    g_ioServiceExec.Start(2);
    ++g_openEngines;
    m_counted = true;
    return {};
}

std::error_code TarnelComm::Reconfigure(unsigned baud, unsigned charSize, uint8_t parity, uint8_t stopBits,
                                        uint8_t flowControl) {
    if (charSize > UINT8_MAX) throw std::out_of_range("character size out of range");
    const std::error_code error =
        m_channel->Reconfigure(baud, static_cast<uint8_t>(charSize), parity, stopBits, flowControl);
    if (error) return error;
    m_okAfterData = OkAfterData::Unknown;
    m_responsesOff = false;
    return {};
}

void TarnelComm::Close() {
    // Also after the channel closed itself on an unobserved error: the engine
    // must still give back its count, or the executor would never be stopped
    // and a later Open would find no worker serving its channel.
    if (!m_counted.exchange(false)) return;
    m_closing = true;
    { std::lock_guard lock(m_rxMutex); }
    m_rxCond.notify_all();
    m_gate.WakeAll();
    // A call that is past the gate may be about to write; once it has seen
    // the closing and left, nothing more is queued, and what the channel's
    // close discards cannot reach the next opening's module instead.
    m_gate.AwaitFree();
    m_channel->Close();
    if (--g_openEngines == 0) g_ioServiceExec.Stop();
    std::lock_guard lock(m_rxMutex);
    m_rxBuf.clear();
}

bool TarnelComm::IsOpen() const {
    return m_channel->IsOpen();
}

std::unique_ptr<uint8_t[]> TarnelComm::SendCommand(const char* command, size_t length, int code,
                                                   unsigned timeoutMs) {
    if (!m_channel->IsOpen()) return MakeResultBlock(RES_NOT_OPEN);
    switch (m_gate.Enter(std::chrono::milliseconds(timeoutMs))) {
        case CommandGate::Entry::Closing:
            return MakeResultBlock(RES_CLOSED);
        case CommandGate::Entry::TimedOut:
            return MakeResultBlock(RES_TIMEOUT);
        case CommandGate::Entry::Entered:
            break;
    }
    Block result = RunCommand(command, length, code, timeoutMs);
    m_gate.Leave();
    return result;
}

std::unique_ptr<uint8_t[]> TarnelComm::SendCommand(const AtCommand& command) {
    return SendCommand(command.text, std::strlen(command.text), command.code, command.timeoutMs);
}

std::unique_ptr<uint8_t[]> TarnelComm::SendCommand(const std::string& text, const AtCommand& command) {
    if (text.empty()) return MakeResultBlock(RES_COMMAND_TOO_LONG);
    return SendCommand(text.data(), text.size(), command.code, command.timeoutMs);
}

std::unique_ptr<uint8_t[]> TarnelComm::RunCommand(const char* command, size_t length, int code,
                                                  unsigned timeoutMs) {
    DiscardStaleInput();
    if (length > 0) {
        m_channel->Write(reinterpret_cast<const uint8_t*>(command), static_cast<unsigned>(length));
        if (m_onSend) {
            std::vector<char> sent(command, command + length);
            m_onSend(this, sent);
        }
    }
    m_lastSend = Clock::now();
    for (;;) {
        const auto elapsedMs =
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - m_lastSend);
        if (elapsedMs.count() > static_cast<long long>(timeoutMs)) return MakeResultBlock(RES_TIMEOUT);
        const int received = WaitForData();
        if (received == -1) return MakeResultBlock(RES_CLOSED);
        // A channel that closed itself on a read error brings nothing more.
        if (received == 0 && !m_channel->IsOpen()) return MakeResultBlock(RES_NOT_OPEN);
        if (m_respBuf.empty()) continue;
        std::size_t used = 0;
        Block r = ReadResponse(m_respBuf, code, used);
        if (!r) return MakeResultBlock(RES_NO_RESULT);
        const int rc = ResultCode(r.get());
        if (rc != RES_INQUIRY)
            m_respBuf.erase(m_respBuf.begin(), m_respBuf.begin() + static_cast<std::ptrdiff_t>(used));
        if (rc == RES_NOT_MINE || rc == RES_INCOMPLETE) continue;
        if (OkFollows(r.get())) AwaitTrailingOk(m_lastSend + std::chrono::milliseconds(timeoutMs));
        return r;
    }
}

// Earlier traffic is dropped. An OK among it, from a module thought to send
// none after data, says that it does after all.
void TarnelComm::DiscardStaleInput() {
    {
        std::lock_guard lock(m_rxMutex);
        m_respBuf.insert(m_respBuf.end(), m_rxBuf.begin(), m_rxBuf.end());
        m_rxBuf.clear();
    }
    if (m_okAfterData == OkAfterData::No && TakeOkLine()) m_okAfterData = OkAfterData::Unknown;
    m_respBuf.clear();
}

// Removes the first complete OK line from the response buffer; the lines
// before and after it stay where they are, for the polls that follow.
bool TarnelComm::TakeOkLine() {
    for (std::size_t start = 0; start < m_respBuf.size();) {
        const std::vector<char> rest(m_respBuf.begin() + static_cast<std::ptrdiff_t>(start), m_respBuf.end());
        std::size_t used = 0;
        const Block r = ReadResponse(rest, CMD_AT.code, used);
        const int rc = r ? ResultCode(r.get()) : RES_INCOMPLETE;
        if (rc == RES_INCOMPLETE || used == 0) return false;
        if (rc == RES_OK) {
            const auto at = m_respBuf.begin() + static_cast<std::ptrdiff_t>(start);
            m_respBuf.erase(at, at + static_cast<std::ptrdiff_t>(used));
            return true;
        }
        start += used;
    }
    return false;
}

// Whether an OK may follow the answer `block`: after a query's data line,
// unless the module has said that its command responses are off.
bool TarnelComm::OkFollows(const uint8_t* block) {
    const int rc = ResultCode(block);
    if (rc == RES_QM) m_responsesOff = Payload(block)[0] == 1;
    return IsQueryAnswer(rc) && !m_responsesOff;
}

// The OK is taken here, within the query's own limit, or known not to come:
// nothing is left due for a later command to mistake for its answer.
void TarnelComm::AwaitTrailingOk(Clock::time_point until) {
    if (m_okAfterData == OkAfterData::No) return;
    for (;;) {
        if (TakeOkLine()) {
            m_okAfterData = OkAfterData::Yes;
            return;
        }
        if (Clock::now() >= until) {
            m_okAfterData = OkAfterData::No;
            return;
        }
        if (WaitForData() == -1 || !m_channel->IsOpen()) return;
    }
}

int TarnelComm::WaitInquiryResult(InquiryResult& result) {
    return Poll(POLL_INQUIRY_CODE, RES_INQUIRY, &result, sizeof result);
}

int TarnelComm::WaitConnection(BdAddr& peer) {
    return Poll(POLL_CONNECTION_CODE, RES_CONNECT, &peer, sizeof peer);
}

int TarnelComm::WaitDisconnect(BdAddr& peer) {
    return Poll(POLL_DISCONNECT_CODE, RES_DISCONNECT, &peer, sizeof peer);
}

int TarnelComm::Poll(int code, int payloadCode, void* record, size_t recordSize) {
    if (!m_channel->IsOpen()) return RES_NOT_OPEN;
    switch (m_gate.Enter(std::chrono::milliseconds(WAIT_SLICE_MS))) {
        case CommandGate::Entry::Closing:
            return RES_CLOSED;
        case CommandGate::Entry::TimedOut:
            return RES_TIMEOUT;
        case CommandGate::Entry::Entered:
            break;
    }
    m_lastSend = Clock::now();
    int rc = RES_CLOSED;
    if (WaitForData() != -1) {
        Block r = TakeResponse(m_respBuf, code);
        rc = r ? ResultCode(r.get()) : RES_NO_RESULT;
        if (rc == payloadCode)
            std::memcpy(record, Payload(r.get()), std::min<size_t>(recordSize, PayloadLength(r.get())));
    }
    m_gate.Leave();
    return rc;
}

int TarnelComm::GetQuietMode(uint8_t& mode) {
    Block r = SendCommand(CMD_QM_QUERY);
    if (!r) return RES_NO_RESULT;
    const int rc = ResultCode(r.get());
    if (rc == RES_QM) mode = Payload(r.get())[0];
    return rc;
}

int TarnelComm::SetQuietMode(uint8_t mode) {
    Block r = SendCommand(QuietModeCommand(mode), CMD_QM_SET);
    return r ? ResultCode(r.get()) : RES_NO_RESULT;
}

void TarnelComm::OnRead(const std::shared_ptr<CSerialportMP>& channel, std::error_code& error,
                        const std::vector<uint8_t>& data, unsigned bytes) {
    std::lock_guard lock(m_rxMutex);
    if (error && !m_closing) m_portFailed = true;
    if (!error) {
        m_dataReady = true;
        const std::size_t n = std::min({RX_LIMIT - m_rxBuf.size(), std::size_t{bytes}, data.size()});
        m_rxBuf.insert(m_rxBuf.end(), data.begin(), data.begin() + static_cast<std::ptrdiff_t>(n));
        if (m_onReceive) m_onReceive(this, data);
    } else if (!m_closing && m_onError) {
        m_onError(this, error);
    } else {
        channel->Close();
    }
}

void TarnelComm::OnWrite(const std::shared_ptr<CSerialportMP>& channel, std::error_code& error,
                         unsigned /*bytes*/) {
    if (!error) return;
    if (!m_closing) m_portFailed = true;
    if (m_onError) {
        m_onError(this, error);
    } else {
        channel->Close();
    }
}
