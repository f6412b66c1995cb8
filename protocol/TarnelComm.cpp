#include "protocol/TarnelComm.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string_view>

#include "protocol/ResponseFields.h"
#include "serial/CSerialportMP.h"

std::atomic<int> g_openEngines{0};

namespace {

using Block = std::unique_ptr<uint8_t[]>;
using namespace std::placeholders;

constexpr std::string_view CR = "\r";
constexpr std::string_view CRLF = "\r\n";

// Bluetooth names run to 248 bytes, so a +INQ report may be longer than
// other lines; it is read whatever its length, as far as the receive buffer
// holds it, and its name cut to the record.
constexpr std::size_t MAX_INQUIRY_LINE = AtCmdBase::RX_LIMIT;

// A query's data line, which the module may follow with an OK; reports are
// not answers and are followed by nothing.
bool IsQueryAnswer(int code) {
    return code >= RES_VERSION && code != RES_INQUIRY && code != RES_CONNECT && code != RES_DISCONNECT;
}

std::string_view View(const std::vector<char>& line) {
    return {line.data(), line.size()};
}

// The handlers' common start: a block for their record, not yet theirs.
Block Candidate(std::size_t payloadLength) {
    return MakeResultBlock(RES_NOT_MINE, static_cast<uint16_t>(payloadLength));
}

bool BeginsWith(std::string_view line, std::string_view prefix) {
    return line.substr(0, prefix.size()) == prefix;
}

// The answer of the OK and ERROR handlers: each of the three forms is tested
// only when the line is at least as long as it.
Block ParseVerdict(std::string_view line, std::initializer_list<std::string_view> forms, int verdict) {
    const bool match =
        std::any_of(forms.begin(), forms.end(), [line](std::string_view f) { return BeginsWith(line, f); });
    return MakeResultBlock(match ? verdict : RES_NOT_MINE);
}

// keyword "," text terminator, text cut to the 64-byte record.
Block ParseTextLine(std::string_view line, std::string_view keyword, std::string_view terminator,
                    int resultCode) {
    Block block = Candidate(TEXT_RECORD_SIZE);
    std::vector<std::string_view> fields;
    if (SplitKeywordLine(line, keyword, 1, terminator, fields)) {
        CopyText(fields[0], reinterpret_cast<char*>(Payload(block.get())), TEXT_RECORD_SIZE);
        SetResultCode(block.get(), resultCode);
    }
    return block;
}

// keyword "," address terminator.
Block ParseAddressLine(std::string_view line, std::string_view keyword, std::string_view terminator,
                       int resultCode) {
    Block block = Candidate(sizeof(BdAddr));
    std::vector<std::string_view> fields;
    BdAddr addr;
    if (SplitKeywordLine(line, keyword, 1, terminator, fields) && ParseAddress(fields[0], addr)) {
        std::memcpy(Payload(block.get()), &addr, sizeof addr);
        SetResultCode(block.get(), resultCode);
    }
    return block;
}

// keyword "," decimal terminator, the value in [min, max] stored as one byte.
Block ParseByteLine(std::string_view line, std::string_view keyword, std::string_view terminator, int32_t min,
                    int32_t max, int resultCode) {
    Block block = Candidate(1);
    std::vector<std::string_view> fields;
    uint8_t value = 0;
    if (SplitKeywordLine(line, keyword, 1, terminator, fields) &&
        ParseDecimalInRange(fields[0], min, max, value)) {
        Payload(block.get())[0] = value;
        SetResultCode(block.get(), resultCode);
    }
    return block;
}

template <typename Record>
void StoreRecord(uint8_t* block, const Record& record, int resultCode) {
    std::memcpy(Payload(block), &record, sizeof record);
    SetResultCode(block, resultCode);
}

}  // namespace

TarnelComm::TarnelComm() {
    m_channel = std::make_shared<CSerialportMP>(g_ioServiceExec.IoContext());
    m_channel->m_readCallback = std::bind(&TarnelComm::OnRead, this, _1, _2, _3, _4);
    m_channel->m_writeCallback = std::bind(&TarnelComm::OnWrite, this, _1, _2, _3);
    BuildResponseTable();
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

void TarnelComm::Register(int code, std::initializer_list<Handler> handlers, std::size_t maxLineLength) {
    ResponseEntry entry{code, {}, maxLineLength};
    for (Handler handler : handlers)
        entry.handlers.emplace_back(std::bind(handler, this, _1, _2));
    m_responseTable.push_back(std::move(entry));
}

void TarnelComm::BuildResponseTable() {
    using T = TarnelComm;
    Register(2, {&T::ParseOk, &T::ParseError});
    Register(3, {&T::ParseOk, &T::ParseError});
    Register(4, {&T::ParseOk, &T::ParseError});
    Register(6, {&T::ParseModelName, &T::ParseError});
    Register(8, {&T::ParseInfo1, &T::ParseError});
    Register(9, {&T::ParseInfo2, &T::ParseError});
    Register(7, {&T::ParseDeviceLine, &T::ParseError});
    Register(12, {&T::ParseAtcm, &T::ParseError});
    Register(13, {&T::ParseOk, &T::ParseError});
    Register(10, {&T::ParseMfrMode, &T::ParseError});
    Register(11, {&T::ParseMfrMode2, &T::ParseError});
    Register(14, {&T::ParseOk, &T::ParseError});
    Register(15, {&T::ParseOk, &T::ParseError});
    Register(16, {&T::ParseCmbda, &T::ParseError});
    Register(17, {&T::ParseOk, &T::ParseError});
    Register(18, {&T::ParseMfrbda, &T::ParseError});
    Register(19, {&T::ParseOk, &T::ParseError});
    Register(20, {&T::ParseVersion, &T::ParseError});
    // The inquiry command ends on an OK that acknowledges it, on its refusal,
    // or on the first report, which stays for the polls.
    Register(21, {&T::ParseError, &T::ParseOk, &T::ParseInquiry}, MAX_INQUIRY_LINE);
    Register(22, {&T::ParseOk, &T::ParseInquiry}, MAX_INQUIRY_LINE);
    Register(23, {&T::ParseOk, &T::ParseError});
    Register(24, {&T::ParseOk, &T::ParseError, &T::ParseConnect});
    Register(25, {&T::ParseTargetAddr, &T::ParseError});
    Register(26, {&T::ParseOk, &T::ParseError});
    Register(27, {&T::ParseQuietMode, &T::ParseError});
    Register(28, {&T::ParseOk, &T::ParseError});
    Register(29, {&T::ParseOk, &T::ParseError});
    Register(30, {&T::ParseOk, &T::ParseError});
    Register(32, {&T::ParseOk, &T::ParseError});
    Register(33, {&T::ParseOk, &T::ParseError});
    Register(34, {&T::ParseOk, &T::ParseError});
    Register(35, {&T::ParseOk, &T::ParseError, &T::ParseConnect});
    Register(36, {&T::ParseOk, &T::ParseError});
    Register(37, {&T::ParseError, &T::ParseDisconnect});
}

std::unique_ptr<uint8_t[]> TarnelComm::ParseOk(const std::vector<char>& line, int /*code*/) {
    return ParseVerdict(View(line), {"+OK\r", "OK\r", "\r\nOK\r\n"}, RES_OK);
}

std::unique_ptr<uint8_t[]> TarnelComm::ParseError(const std::vector<char>& line, int /*code*/) {
    return ParseVerdict(View(line), {"+ERROR\r", "ERROR\r", "\r\nERROR\r\n"}, RES_ERROR);
}

std::unique_ptr<uint8_t[]> TarnelComm::ParseModelName(const std::vector<char>& line, int /*code*/) {
    return ParseTextLine(View(line), "\r\n+MODELNAME", CR, RES_MODELNAME);
}

std::unique_ptr<uint8_t[]> TarnelComm::ParseVersion(const std::vector<char>& line, int /*code*/) {
    return ParseTextLine(View(line), "\r\n+VER", CRLF, RES_VERSION);
}

std::unique_ptr<uint8_t[]> TarnelComm::ParseInfo1(const std::vector<char>& line, int /*code*/) {
    Block block = Candidate(sizeof(DeviceInfo));
    std::vector<std::string_view> f;
    DeviceInfo info{};
    if (SplitKeywordLine(View(line), "\r\n+INFO1", 4, CR, f) && ParseAddress(f[0], info.addr)) {
        CopyText(f[1], info.name, sizeof info.name);
        if (ParseDecimalInRange(f[2], 0, 3, info.opMode) &&
            MatchWord(f[3], {"IDLE", "SCANNING", "INQUIRING", "CONNECTING", "CONNECTED"}, info.state)) {
            StoreRecord(block.get(), info, RES_INFO1);
        }
    }
    return block;
}

std::unique_ptr<uint8_t[]> TarnelComm::ParseInfo2(const std::vector<char>& line, int /*code*/) {
    Block block = Candidate(INFO2_RECORD_SIZE);
    std::vector<std::string_view> f;
    uint8_t flags[INFO2_FLAG_COUNT] = {};
    if (!SplitKeywordLine(View(line), "\r\n+INFO2", INFO2_FLAG_COUNT, CRLF, f)) return block;
    for (std::size_t i = 0; i < INFO2_FLAG_COUNT; ++i) {
        if (!ParseDecimalInRange(f[i], 0, 1, flags[i])) return block;
    }
    StoreRecord(block.get(), flags, RES_INFO2);
    return block;
}

std::unique_ptr<uint8_t[]> TarnelComm::ParseDeviceLine(const std::vector<char>& line, int /*code*/) {
    Block block = Candidate(sizeof(DeviceLineRecord));
    const std::string_view text = View(line);
    const std::size_t comma = text.find(',');
    if (comma == std::string_view::npos) return block;
    std::string_view first = text.substr(0, comma);
    first.remove_prefix(std::min(first.find_first_not_of(CRLF), first.size()));
    std::vector<std::string_view> f;
    DeviceLineRecord rec{};
    if (!ParseAddress(first, rec.addr) || !SplitFields(text.substr(comma + 1), 6, CR, f)) return block;
    CopyText(f[0], rec.name, sizeof rec.name);
    if (MatchWord(f[1], {"MODE0", "MODE1", "MODE2", "MODE3"}, rec.mode) &&
        MatchWord(f[2], {"STANDBY", "PENDING", "CONNECT"}, rec.linkState) &&
        ParseDecimalInRange(f[3], 0, 1, rec.flag1) && ParseDecimalInRange(f[4], 0, 1, rec.flag2) &&
        MatchWord(f[5], {"NoFC", "HWFC"}, rec.flow)) {
        StoreRecord(block.get(), rec, RES_DEVICE_LINE);
    }
    return block;
}

std::unique_ptr<uint8_t[]> TarnelComm::ParseAtcm(const std::vector<char>& line, int /*code*/) {
    Block block = Candidate(sizeof(int32_t));
    std::vector<std::string_view> f;
    int32_t value = 0;
    if (SplitKeywordLine(View(line), "\r\n+ATCM", 1, CR, f) && ParseDecimal(f[0], value) &&
        (value == 1 || value == 2)) {
        StoreRecord(block.get(), value, RES_ATCM);
    }
    return block;
}

std::unique_ptr<uint8_t[]> TarnelComm::ParseMfrMode(const std::vector<char>& line, int /*code*/) {
    return ParseByteLine(View(line), "\r\n+MFRMODE", CR, 0, 2, RES_MFRMODE);
}

std::unique_ptr<uint8_t[]> TarnelComm::ParseMfrMode2(const std::vector<char>& line, int /*code*/) {
    return ParseByteLine(View(line), "\r\n+MFRMODE", CR, 0, 2, RES_MFRMODE_2);
}

std::unique_ptr<uint8_t[]> TarnelComm::ParseCmbda(const std::vector<char>& line, int /*code*/) {
    return ParseAddressLine(View(line), "\r\n+CMBDA", CR, RES_CMBDA);
}

std::unique_ptr<uint8_t[]> TarnelComm::ParseMfrbda(const std::vector<char>& line, int /*code*/) {
    return ParseAddressLine(View(line), "\r\n+MFRBDA", CR, RES_MFRBDA);
}

std::unique_ptr<uint8_t[]> TarnelComm::ParseInquiry(const std::vector<char>& line, int /*code*/) {
    Block block = Candidate(sizeof(InquiryResult));
    std::vector<std::string_view> f;
    InquiryResult rec{};
    uint32_t cod = 0;
    int32_t rssi = 0;
    if (SplitKeywordLine(View(line), "\r\n+INQ", 4, CR, f) && ParseAddress(f[0], rec.addr) &&
        ParseClassOfDevice(f[1], cod) && ParseDecimal(f[2], rssi)) {
        rec.classOfDevice = cod;
        rec.rssi = static_cast<int8_t>(static_cast<uint8_t>(rssi & 0xFF));
        CopyUtf8Text(f[3], rec.name, sizeof rec.name);
        StoreRecord(block.get(), rec, RES_INQUIRY);
    }
    return block;
}

std::unique_ptr<uint8_t[]> TarnelComm::ParseConnect(const std::vector<char>& line, int /*code*/) {
    return ParseAddressLine(View(line), "\r\n+CONN", CRLF, RES_CONNECT);
}

std::unique_ptr<uint8_t[]> TarnelComm::ParseDisconnect(const std::vector<char>& line, int /*code*/) {
    return ParseAddressLine(View(line), "\r\n+DISC", CRLF, RES_DISCONNECT);
}

std::unique_ptr<uint8_t[]> TarnelComm::ParseTargetAddr(const std::vector<char>& line, int /*code*/) {
    return ParseAddressLine(View(line), "\r\n+TADDR", CRLF, RES_TADDR);
}

std::unique_ptr<uint8_t[]> TarnelComm::ParseQuietMode(const std::vector<char>& line, int /*code*/) {
    return ParseByteLine(View(line), "\r\n+QM", CRLF, 0, 1, RES_QM);
}
