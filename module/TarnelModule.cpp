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

// False when the module did not say whether it sends command responses.
bool TarnelModule::ReadResponsesAndEnable(uint8_t& responses) {
    if (m_comm.GetQuietMode(responses) != RES_QM) return false;
    if (responses == 1) {
        if (m_beforeResponsesOn) m_beforeResponsesOn();
        m_comm.SetQuietMode(0);
    }
    return true;
}

bool TarnelModule::CancelOperation(uint8_t state) {
    const unsigned limit =
        state == STATE_CONNECTING ? OPCANCEL_CONNECTING_TIMEOUT_MS : CMD_OPCANCEL.timeoutMs;
    return Code(m_comm.SendCommand(CMD_OPCANCEL.text, std::strlen(CMD_OPCANCEL.text), CMD_OPCANCEL.code,
                                   limit)) == RES_OK;
}

ModuleResult TarnelModule::Check(std::string* model) {
    const int probe = Code(m_comm.SendCommand(CMD_AT));
    if (probe == RES_CLOSED) return ModuleResult::Closed;
    if (probe == RES_ERROR) {
        m_comm.SendCommand(CMD_AT);
    } else if (probe != RES_OK) {
        // No answer: the module may be in data mode or have responses off.
        m_comm.SendCommand(CMD_ESCAPE);
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
    const int probe = Code(m_comm.SendCommand(CMD_AT));
    if (probe == RES_CLOSED) return ModuleResult::Closed;
    if (probe == RES_ERROR && Code(m_comm.SendCommand(CMD_AT)) != RES_OK &&
        !ReadResponsesAndEnable(reading.responses)) {
        return ModuleResult::Failed;
    }
    if (Closed(m_comm.GetQuietMode(reading.responses)) == RES_CLOSED) return ModuleResult::Closed;
    return ReadQueries(reading, true);
}

ModuleResult TarnelModule::ReadQueriesOnly(ModuleReading& reading) {
    const int responses = Closed(m_comm.GetQuietMode(reading.responses));
    if (responses == RES_CLOSED) return ModuleResult::Closed;
    if (responses != RES_QM) return ModuleResult::Failed;
    return ReadQueries(reading, false);
}

ModuleResult TarnelModule::ReadQueries(ModuleReading& reading, bool cancelBusy) {
    ResultBlock block = m_comm.SendCommand(CMD_VERSION);
    if (Code(block) != RES_VERSION) return ModuleResult::Failed;
    char version[TEXT_RECORD_SIZE] = {};
    CopyPayload(block.get(), version);
    reading.fwVersion.assign(version, strnlen(version, sizeof version));

    block = m_comm.SendCommand(CMD_INFO1);
    if (Code(block) != RES_INFO1) return ModuleResult::Failed;
    CopyPayload(block.get(), reading.devInfo);
    if (cancelBusy && IsBusyState(reading.devInfo.state) && !CancelOperation(reading.devInfo.state))
        return ModuleResult::Failed;

    block = m_comm.SendCommand(CMD_INFO2);
    if (Code(block) != RES_INFO2) return ModuleResult::Failed;
    CopyPayload(block.get(), reading.uartInfo);

    block = m_comm.SendCommand(CMD_TADDR_QUERY);
    if (Code(block) != RES_TADDR) return ModuleResult::Failed;
    CopyPayload(block.get(), reading.target);
    return ModuleResult::Ok;
}

ModuleResult TarnelModule::ReadModelName(std::string& model) {
    const ResultBlock block = m_comm.SendCommand(CMD_MODELNAME);
    const int code = Code(block);
    if (code == RES_CLOSED) return ModuleResult::Closed;
    if (code != RES_MODELNAME) return ModuleResult::Failed;
    char text[TEXT_RECORD_SIZE] = {};
    CopyPayload(block.get(), text);
    model.assign(text, strnlen(text, sizeof text));
    return ModuleResult::Ok;
}

bool TarnelModule::Probe(unsigned timeoutMs) {
    return Code(m_comm.SendCommand(CMD_QM_QUERY.text, std::strlen(CMD_QM_QUERY.text), CMD_QM_QUERY.code,
                                   timeoutMs)) == RES_QM;
}

ModuleResult TarnelModule::FactoryReset() {
    return Code(m_comm.SendCommand(CMD_FACTORY_RESET)) == RES_OK ? ModuleResult::Ok : ModuleResult::Failed;
}

ModuleResult TarnelModule::Apply(const ModuleWrite& values, DeviceInfo& current) {
    ResultBlock block = m_comm.SendCommand(CMD_INFO1);
    if (Code(block) != RES_INFO1) return ModuleResult::Failed;
    CopyPayload(block.get(), current);
    if (IsBusyState(current.state) && !CancelOperation(current.state)) return ModuleResult::Failed;

    if (DeviceNameError(values.name) != 0) return ModuleResult::NameFailed;
    if (Code(m_comm.SendCommand(NameCommand(values.name), CMD_NAME)) != RES_OK)
        return ModuleResult::NameFailed;

    if (!IsOffered(OFFERED_PARITIES, values.parity) || !IsOffered(OFFERED_STOP_BITS, values.stopBits) ||
        values.flow > 1) {
        return ModuleResult::UartFailed;
    }
    const std::string uart = UartCommand(values.baud, values.parity, values.stopBits, values.flow);
    if (Code(m_comm.SendCommand(uart, CMD_UART)) != RES_OK) return ModuleResult::UartFailed;

    if (!values.target.IsUnset() &&
        Code(m_comm.SendCommand(TargetAddrCommand(values.target), CMD_TADDR_SET)) != RES_OK) {
        return ModuleResult::TargetFailed;
    }

    if (values.opMode > 3) return ModuleResult::OpModeFailed;
    if (Code(m_comm.SendCommand(OpModeCommand(values.opMode), CMD_OPMODE)) != RES_OK) {
        return ModuleResult::OpModeFailed;
    }

    // With responses switched off the module does not confirm this one.
    return m_comm.SetQuietMode(values.responses) == RES_ERROR ? ModuleResult::ResponseFailed
                                                              : ModuleResult::Ok;
}

void TarnelModule::Reset() {
    m_comm.SendCommand(CMD_RESET);
}

// The module sends its disconnection report some time after the OK, so the
// report is awaited for as long as a command would be.
ModuleResult TarnelModule::Disconnect() {
    const int code = Code(m_comm.SendCommand(CMD_DISCONNECT));
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
    const int code =
        Code(m_comm.SendCommand(InquiryCommand(INQUIRY_DURATION, INQUIRY_ARGUMENT), CMD_INQUIRY));
    if (code == RES_CLOSED) return ModuleResult::Closed;
    return code == RES_ERROR ? ModuleResult::Failed : ModuleResult::Ok;
}

InquiryStep TarnelModule::NextInquiryReport(InquiryResult& report) {
    switch (Closed(m_comm.WaitInquiryResult(report))) {
        case RES_INQUIRY:
            return InquiryStep::Found;
        case RES_OK:
            return InquiryStep::Ended;
        case RES_CLOSED:
            return InquiryStep::Closed;
        default:
            // No line yet, a foreign one, or the engine busy past its limit.
            return InquiryStep::Nothing;
    }
}

ModuleResult TarnelModule::StopInquiry() {
    return Code(m_comm.SendCommand(CMD_OPCANCEL)) == RES_OK ? ModuleResult::Ok : ModuleResult::Failed;
}
