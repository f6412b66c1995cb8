#include "module/TarnelModule.h"

#include <chrono>
#include <cstring>
#include <string_view>
#include <utility>

#include "module/DeviceNameError.h"
#include "protocol/CommandSet.h"
#include "protocol/ResultBlock.h"
#include "protocol/TarnelComm.h"
#include "serial/SerialLine.h"

namespace {

// A channel that closed itself after a read error ends a sequence as a close
// does: every later call would return RES_NOT_OPEN at once.
int Closed(int code) {
    return code == RES_NOT_OPEN ? RES_CLOSED : code;
}

int Code(const ResultBlock& block) {
    return Closed(block ? ResultCode(block.get()) : RES_NO_RESULT);
}

bool IsBusyState(uint8_t state) {
    return state == STATE_SCANNING || state == STATE_INQUIRING || state == STATE_CONNECTING;
}

}  // namespace

TarnelModule::TarnelModule(TarnelComm& comm, std::function<void()> beforeResponsesOn)
    : m_comm(comm), m_beforeResponsesOn(std::move(beforeResponsesOn)) {}

ResultBlock TarnelModule::Send(const char* text, int code, unsigned timeoutMs) {
    ResultBlock block = m_comm.SendCommand(text, std::strlen(text), code, timeoutMs);
    Noted(text, Code(block));
    return block;
}

ResultBlock TarnelModule::Send(const AtCommand& command) {
    return Send(command.text, command.code, command.timeoutMs);
}

ResultBlock TarnelModule::Send(const std::string& text, const AtCommand& command) {
    ResultBlock block = m_comm.SendCommand(text, command);
    Noted(text.c_str(), Code(block));
    return block;
}

int TarnelModule::Noted(const char* command, int code) {
    const std::string_view sent(command);
    m_lastReply = {std::string(sent.substr(0, sent.find('\r'))), code};
    return code;
}

int TarnelModule::QueryResponses(uint8_t& responses) {
    return Noted(CMD_QM_QUERY.text, Closed(m_comm.GetQuietMode(responses)));
}

int TarnelModule::SwitchResponses(uint8_t mode) {
    return Noted(QuietModeCommand(mode).c_str(), Closed(m_comm.SetQuietMode(mode)));
}

// False when the module did not say whether it sends command responses.
bool TarnelModule::ReadResponsesAndEnable(uint8_t& responses) {
    if (QueryResponses(responses) != RES_QM) return false;
    if (responses == 1) {
        if (m_beforeResponsesOn) m_beforeResponsesOn();
        SwitchResponses(0);
        m_responsesSwitch = m_lastReply;
    }
    return true;
}

bool TarnelModule::CancelOperation(uint8_t state) {
    const unsigned limit =
        state == STATE_CONNECTING ? OPCANCEL_CONNECTING_TIMEOUT_MS : CMD_OPCANCEL.timeoutMs;
    return Code(Send(CMD_OPCANCEL.text, CMD_OPCANCEL.code, limit)) == RES_OK;
}

ModuleResult TarnelModule::Check(std::string* model) {
    m_responsesSwitch = {};
    const int probe = Code(Send(CMD_AT));
    if (probe == RES_CLOSED) return ModuleResult::Closed;
    if (probe == RES_ERROR) {
        Send(CMD_AT);
    } else if (probe != RES_OK) {
        // No answer: the module may be in data mode or have responses off.
        Send(CMD_ESCAPE);
        uint8_t responses = 0;
        if (!ReadResponsesAndEnable(responses)) return ModuleResult::Failed;
    }
    std::string named;
    const ModuleResult result = ReadModelName(named);
    if (result == ModuleResult::Closed) return result;
    if (result != ModuleResult::Ok) return ModuleResult::NoModel;
    if (model != nullptr) *model = std::move(named);
    return ModuleResult::Ok;
}

ModuleResult TarnelModule::Read(ModuleReading& reading) {
    m_responsesSwitch = {};
    const int probe = Code(Send(CMD_AT));
    if (probe == RES_CLOSED) return ModuleResult::Closed;
    if (probe == RES_ERROR && Code(Send(CMD_AT)) != RES_OK && !ReadResponsesAndEnable(reading.responses)) {
        return ModuleResult::Failed;
    }
    if (QueryResponses(reading.responses) == RES_CLOSED) return ModuleResult::Closed;
    return ReadQueries(reading, true);
}

ModuleResult TarnelModule::ReadQueriesOnly(ModuleReading& reading) {
    const int responses = QueryResponses(reading.responses);
    if (responses == RES_CLOSED) return ModuleResult::Closed;
    if (responses != RES_QM) return ModuleResult::Failed;
    return ReadQueries(reading, false);
}

ModuleResult TarnelModule::ReadQueries(ModuleReading& reading, bool cancelBusy) {
    ResultBlock block = Send(CMD_VERSION);
    if (Code(block) != RES_VERSION) return ModuleResult::Failed;
    char version[TEXT_RECORD_SIZE] = {};
    CopyPayload(block.get(), version);
    reading.fwVersion.assign(version, strnlen(version, sizeof version));

    block = Send(CMD_INFO1);
    if (Code(block) != RES_INFO1) return ModuleResult::Failed;
    CopyPayload(block.get(), reading.devInfo);
    if (cancelBusy && IsBusyState(reading.devInfo.state) && !CancelOperation(reading.devInfo.state))
        return ModuleResult::Failed;

    block = Send(CMD_INFO2);
    if (Code(block) != RES_INFO2) return ModuleResult::Failed;
    CopyPayload(block.get(), reading.uartInfo);

    block = Send(CMD_TADDR_QUERY);
    if (Code(block) != RES_TADDR) return ModuleResult::Failed;
    CopyPayload(block.get(), reading.target);
    return ModuleResult::Ok;
}

ModuleResult TarnelModule::ReadModelName(std::string& model) {
    const ResultBlock block = Send(CMD_MODELNAME);
    const int code = Code(block);
    if (code == RES_CLOSED) return ModuleResult::Closed;
    if (code != RES_MODELNAME) return ModuleResult::Failed;
    char text[TEXT_RECORD_SIZE] = {};
    CopyPayload(block.get(), text);
    model.assign(text, strnlen(text, sizeof text));
    return ModuleResult::Ok;
}

// The escape and the query go out in one write, so that a framing where
// nothing answers costs no more than the query alone. A module that refuses
// the escape (one in command mode may) is asked once more.
bool TarnelModule::Probe(unsigned timeoutMs) {
    static const std::string probe = std::string(CMD_ESCAPE.text) + CMD_QM_QUERY.text;
    int code = Code(Send(probe.c_str(), CMD_QM_QUERY.code, timeoutMs));
    if (code == RES_ERROR) code = Code(Send(CMD_QM_QUERY.text, CMD_QM_QUERY.code, timeoutMs));
    return code == RES_QM;
}

ModuleResult TarnelModule::FactoryReset() {
    return Code(Send(CMD_FACTORY_RESET)) == RES_OK ? ModuleResult::Ok : ModuleResult::Failed;
}

ModuleResult TarnelModule::Apply(const ModuleWrite& values, DeviceInfo& current) {
    const auto refuseUnsent = [this](ModuleResult result) {
        m_lastReply = {};
        return result;
    };
    ResultBlock block = Send(CMD_INFO1);
    if (Code(block) != RES_INFO1) return ModuleResult::Failed;
    CopyPayload(block.get(), current);
    if (IsBusyState(current.state) && !CancelOperation(current.state)) return ModuleResult::Failed;

    for (const WriteCommand& step : WriteCommands(values)) {
        if (step.text.empty()) return refuseUnsent(step.refused);
        // With responses switched off the module does not confirm that switch.
        if (step.command == nullptr)
            return SwitchResponses(values.responses) == RES_ERROR ? step.refused : ModuleResult::Ok;
        if (Code(Send(step.text, *step.command)) != RES_OK) return step.refused;
    }
    return ModuleResult::Ok;
}

std::vector<WriteCommand> TarnelModule::WriteCommands(const ModuleWrite& values) {
    std::vector<WriteCommand> commands;
    const auto add = [&](bool valid, std::string text, const AtCommand* command, ModuleResult refused) {
        commands.push_back({valid ? std::move(text) : std::string(), command, refused});
        return valid;
    };
    if (!add(DeviceNameError(values.name) == 0, NameCommand(values.name), &CMD_NAME,
             ModuleResult::NameFailed))
        return commands;
    const bool uartValid = IsOffered(OFFERED_PARITIES, values.parity) &&
                           IsOffered(OFFERED_STOP_BITS, values.stopBits) && values.flow <= 1;
    if (!add(uartValid, UartCommand(values.baud, values.parity, values.stopBits, values.flow), &CMD_UART,
             ModuleResult::UartFailed))
        return commands;
    if (!values.target.IsUnset())
        add(true, TargetAddrCommand(values.target), &CMD_TADDR_SET, ModuleResult::TargetFailed);
    if (!add(values.opMode <= 3, OpModeCommand(values.opMode), &CMD_OPMODE, ModuleResult::OpModeFailed))
        return commands;
    add(true, QuietModeCommand(values.responses), nullptr, ModuleResult::ResponseFailed);
    return commands;
}

void TarnelModule::Reset() {
    Send(CMD_RESET);
}

// The module sends its disconnection report some time after the OK, so the
// report is awaited for as long as a command would be.
ModuleResult TarnelModule::Disconnect() {
    const int code = Code(Send(CMD_DISCONNECT));
    if (code == RES_CLOSED) return ModuleResult::Closed;
    if (code != RES_OK) return ModuleResult::Failed;
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(CMD_DISCONNECT.timeoutMs);
    BdAddr peer;
    while (Clock::now() < deadline) {
        const int step = Closed(m_comm.WaitDisconnect(peer));
        if (step == RES_DISCONNECT) return ModuleResult::Ok;
        if (step == RES_CLOSED) return ModuleResult::Closed;
        // A step that found the engine busy past its limit has read nothing.
        if (step != RES_INCOMPLETE && step != RES_NOT_MINE && step != RES_TIMEOUT)
            return ModuleResult::Failed;
    }
    return ModuleResult::Failed;
}

ModuleResult TarnelModule::StartInquiry() {
    const int code = Code(Send(InquiryCommand(INQUIRY_DURATION, INQUIRY_ARGUMENT), CMD_INQUIRY));
    if (code == RES_CLOSED) return ModuleResult::Closed;
    return code == RES_ERROR ? ModuleResult::Failed : ModuleResult::Ok;
}

ModuleResult TarnelModule::NextInquiryReport(InquiryResult& report) {
    switch (Closed(m_comm.WaitInquiryResult(report))) {
        case RES_INQUIRY:
            return ModuleResult::Ok;
        case RES_OK:
            return ModuleResult::SearchEnded;
        case RES_CLOSED:
            return ModuleResult::Closed;
        default:
            // No line yet, a foreign one, or the engine busy past its limit.
            return ModuleResult::NoReport;
    }
}

ModuleResult TarnelModule::StopInquiry() {
    return Code(Send(CMD_OPCANCEL)) == RES_OK ? ModuleResult::Ok : ModuleResult::Failed;
}
