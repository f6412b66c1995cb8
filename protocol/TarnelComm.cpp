#include "protocol/TarnelComm.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <stdexcept>

#include "protocol/ResponseTable.h"
#include "serial/CSerialportMP.h"
#include "serial/SerialLine.h"

std::atomic<int> g_openEngines{0};

namespace {

// Engines may open and close on threads of their own (the stations of a
// production line): the executor's start and stop, and the count that decides
// them, go one at a time, and a channel opens (and queues its first read)
// only inside that, so that a stop never waits on a channel just opened.
std::mutex g_executorMutex;

using Block = std::unique_ptr<uint8_t[]>;
using namespace std::placeholders;

// A query's data line, which the module may follow with an OK; reports are
// not answers and are followed by nothing.
bool IsQueryAnswer(int code) {
    return code >= RES_VERSION && code != RES_INQUIRY && code != RES_CONNECT && code != RES_DISCONNECT;
}

// A module's OK follows its data line at once: the six bytes of the OK line
// and a few character times for the module to start it.
constexpr unsigned OK_WAIT_CHARACTERS = 16;
// A USB serial adapter holds received bytes up to its latency timer (16 ms
// by default), and the host may schedule the reader late.
constexpr std::chrono::milliseconds OK_WAIT_FLOOR{40};

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

std::error_code TarnelComm::Open(const PortName& port, unsigned baud, unsigned charSize, uint8_t parity,
                                 uint8_t stopBits, uint8_t flowControl) {
    if (charSize > UINT8_MAX) throw std::out_of_range("character size out of range");
    std::unique_lock executor(g_executorMutex);
    const std::error_code error =
        m_channel->Open(port, baud, static_cast<uint8_t>(charSize), parity, stopBits, flowControl);
    if (error) return error;
    m_closing = false;
    if (m_portFailed.exchange(false) || port != m_port) m_okAfterData = OkAfterData::Unknown;
    m_port = port;
    BeginOpening(baud, charSize, parity, stopBits);
    g_ioServiceExec.Start(2);
    // The workers would leave whenever every open engine's channel is between
    // a close and an open at once, and the next Open would find none serving
    // its channel.
    g_ioServiceExec.Hold();
    ++g_openEngines;
    executor.unlock();
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
    BeginOpening(baud, charSize, parity, stopBits);
    return {};
}

// Another opening may find the module otherwise: only what it is (whether
// it sends an OK after data) is kept.
void TarnelComm::BeginOpening(unsigned baud, unsigned charSize, uint8_t parity, uint8_t stopBits) {
    m_okDue = false;
    m_responses = Responses::Unknown;
    m_okWait = OkWait(baud, charSize, parity, stopBits);
}

std::chrono::milliseconds TarnelComm::OkWait(unsigned baud, unsigned charSize, uint8_t parity,
                                             uint8_t stopBits) {
    const unsigned bits = 1 + charSize + (parity == PARITY_NONE ? 0 : 1) + StopBitCount(stopBits);
    const auto lineTime =
        std::chrono::milliseconds(OK_WAIT_CHARACTERS * bits * 1000 / std::max(baud, 1u) + 1);
    return std::max(OK_WAIT_FLOOR, lineTime);
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
    {
        const std::lock_guard executor(g_executorMutex);
        if (--g_openEngines == 0) {
            g_ioServiceExec.Release();
            g_ioServiceExec.Stop();
        }
    }
    std::lock_guard lock(m_rxMutex);
    m_rxBuf.clear();
}

bool TarnelComm::IsOpen() const {
    return m_channel->IsOpen();
}

std::unique_ptr<uint8_t[]> TarnelComm::SendCommand(const char* command, size_t length, int code,
                                                   unsigned timeoutMs) {
    return InGate(timeoutMs, [&] { return RunCommand(command, length, code, timeoutMs); });
}

std::unique_ptr<uint8_t[]> TarnelComm::InGate(unsigned timeoutMs, const std::function<Block()>& call) {
    if (!m_channel->IsOpen()) return MakeResultBlock(RES_NOT_OPEN);
    switch (m_gate.Enter(std::chrono::milliseconds(timeoutMs))) {
        case CommandGate::Entry::Closing:
            return MakeResultBlock(RES_CLOSED);
        case CommandGate::Entry::TimedOut:
            return MakeResultBlock(RES_TIMEOUT);
        case CommandGate::Entry::Entered:
            break;
    }
    Block result = call();
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
        if (m_okDue && AnsweredByOk(code)) SettleWithQuery();
        // Observed first: an answer cannot come before the command it answers.
        if (m_onSend) {
            std::vector<char> sent(command, command + length);
            m_onSend(this, sent);
        }
        m_channel->Write(reinterpret_cast<const uint8_t*>(command), static_cast<unsigned>(length));
    }
    m_lastSend = Clock::now();
    bool noOkWasDue = false;
    for (;;) {
        const auto elapsedMs =
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - m_lastSend);
        if (elapsedMs.count() > static_cast<long long>(timeoutMs)) return MakeResultBlock(RES_TIMEOUT);
        const int received = WaitForData();
        if (received == -1) return MakeResultBlock(RES_CLOSED);
        // A channel that closed itself on a read error brings nothing more.
        if (received == 0 && !m_channel->IsOpen()) return MakeResultBlock(RES_NOT_OPEN);
        if (m_okDue) noOkWasDue = SettleDueOk() == DueOk::NoneCame || noOkWasDue;
        if (m_respBuf.empty()) continue;
        std::size_t used = 0;
        Block r = ReadResponse(m_respBuf, code, used);
        if (!r) return MakeResultBlock(RES_NO_RESULT);
        const int rc = ResultCode(r.get());
        if (rc != RES_INQUIRY)
            m_respBuf.erase(m_respBuf.begin(), m_respBuf.begin() + static_cast<std::ptrdiff_t>(used));
        if (rc == RES_NOT_MINE || rc == RES_INCOMPLETE) continue;
        const bool okMayFollow = OkFollows(r.get());
        // Only now is it known whether the responses were on, as a
        // module without an OK needs them to be to show it.
        if (noOkWasDue && m_responses == Responses::On) m_okAfterData = OkAfterData::No;
        if (okMayFollow) AwaitTrailingOk(m_lastSend + std::chrono::milliseconds(timeoutMs));
        return r;
    }
}

// Earlier traffic is dropped, after what it says of an OK: one that the last
// query owed settles that question; one from a module thought to send none
// after data says that it does after all.
void TarnelComm::DiscardStaleInput() {
    {
        std::lock_guard lock(m_rxMutex);
        m_respBuf.insert(m_respBuf.end(), m_rxBuf.begin(), m_rxBuf.end());
        m_rxBuf.clear();
    }
    if (m_okDue && SettleDueOk() == DueOk::NoneCame && m_responses == Responses::On)
        m_okAfterData = OkAfterData::No;
    if (m_okAfterData == OkAfterData::No && TakeOkLine()) m_okAfterData = OkAfterData::Unknown;
    m_respBuf.clear();
}

bool TarnelComm::AnsweredByOk(int code) {
    static const std::vector<char> ok{'\r', '\n', 'O', 'K', '\r', '\n'};
    const Block r = DispatchLine(ok, code);
    return r && ResultCode(r.get()) == RES_OK;
}

// The response query's data line comes after the OK the last query owes, if
// any. Whatever it answers, the question is closed: a query that ran out its
// limit has left no OK to come. What came after it is stale for the command
// that follows.
void TarnelComm::SettleWithQuery() {
    RunCommand(CMD_QM_QUERY.text, std::strlen(CMD_QM_QUERY.text), CMD_QM_QUERY.code, CMD_QM_QUERY.timeoutMs);
    m_okDue = false;
    DiscardStaleInput();
}

// A module sends its lines in order: the OK the last query may still owe
// comes before anything else, or not at all. An OK at the front is taken.
TarnelComm::DueOk TarnelComm::SettleDueOk() {
    std::size_t used = 0;
    const Block front = ReadResponse(m_respBuf, CMD_AT.code, used);
    const int rc = front ? ResultCode(front.get()) : RES_INCOMPLETE;
    if (rc == RES_INCOMPLETE) return DueOk::Open;
    m_okDue = false;
    if (rc != RES_OK) return DueOk::NoneCame;
    m_respBuf.erase(m_respBuf.begin(), m_respBuf.begin() + static_cast<std::ptrdiff_t>(used));
    m_okAfterData = OkAfterData::Yes;
    return DueOk::Came;
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
// unless the module's command responses are believed off.
bool TarnelComm::OkFollows(const uint8_t* block) {
    const int rc = ResultCode(block);
    if (rc == RES_QM) m_responses = Payload(block)[0] == 1 ? Responses::Off : Responses::On;
    return IsQueryAnswer(rc) && m_responses != Responses::Off;
}

// The OK is taken here, within the query's own limit, or known not to come,
// or left for the module's next line to settle (m_okDue).
void TarnelComm::AwaitTrailingOk(Clock::time_point until) {
    if (m_okAfterData == OkAfterData::No) return;
    const bool learning = m_okAfterData == OkAfterData::Unknown;
    if (learning) until = std::min(until, Clock::now() + m_okWait);
    for (;;) {
        if (TakeOkLine()) {
            m_okAfterData = OkAfterData::Yes;
            return;
        }
        if (Clock::now() >= until) {
            // A module thought to send one that sent none within the whole
            // limit is learnt again.
            m_okDue = learning;
            m_okAfterData = OkAfterData::Unknown;
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

// An answered switch settles what the engine believes of the responses;
// one refused or unanswered leaves it unknown.
int TarnelComm::SetQuietMode(uint8_t mode) {
    const std::string text = QuietModeCommand(mode);
    Block r = InGate(CMD_QM_SET.timeoutMs, [&] {
        Block answer = RunCommand(text.data(), text.size(), CMD_QM_SET.code, CMD_QM_SET.timeoutMs);
        m_responses = ResultCode(answer.get()) != RES_OK ? Responses::Unknown
                      : mode == 1                        ? Responses::Off
                                                         : Responses::On;
        return answer;
    });
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
