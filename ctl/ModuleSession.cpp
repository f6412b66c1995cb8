#include "ctl/ModuleSession.h"

#include <chrono>

#include "ctl/ExitStatus.h"
#include "ctl/FailureRecord.h"
#include "ctl/Interrupt.h"
#include "ctl/Messages.h"
#include "ctl/Record.h"
#include "ctl/ReplyText.h"
#include "ctl/SettingsMerge.h"
#include "protocol/ResultBlock.h"

namespace tarnel::ctl {
namespace {

// A module restarting after a reset answers again within this time.
constexpr std::chrono::seconds kRestartTime{5};

// The value an Apply step writes; empty for the steps before the writes.
std::string WrittenValue(ModuleResult result) {
    switch (result) {
        case ModuleResult::NameFailed:
            return "the name";
        case ModuleResult::UartFailed:
            return "the UART settings";
        case ModuleResult::TargetFailed:
            return "the target";
        case ModuleResult::OpModeFailed:
            return "the operation mode";
        case ModuleResult::ResponseFailed:
            return "the response setting";
        default:
            return {};
    }
}

}  // namespace

ModuleSession::ModuleSession(ModulePort& port, std::ostream& err, ProgressLine& progress)
    : m_port(port), m_err(err), m_progress(progress), m_flow(port.Comm(), [this] {
          m_foundResponsesOff = true;
          Note(Msg(IDS_RESPONSE_DISABLED) + " Switching command responses on.");
      }) {}

void ModuleSession::Note(const std::string& text) {
    m_progress.Clear();
    m_err << "tarnelctl: " << m_port.Name() << ": " << text << "\n";
}

int ModuleSession::Fail(int status, std::string why, ModuleReply reply) {
    if (m_port.Lost()) {
        status = EXIT_PORT;
        why = Msg(IDS_PORT_ERROR) + " (the port went away)";
        reply = {};
    } else if (Interrupted()) {
        status = EXIT_INTERRUPTED;
        why = Interruption() + (why.empty() ? "." : ". " + why);
        reply = {};
    }
    m_why = std::move(why);
    m_failedReply = std::move(reply);
    return status;
}

int ModuleSession::Refused(const std::string& lead, const std::string& what) {
    const ModuleReply& reply = m_flow.Module().LastReply();
    // A value refused before it was sent is no answer of the module's.
    if (reply.command.empty()) return Fail(EXIT_REFUSED, lead + " (" + what + ": not a valid value)");
    const std::string answer = ReplyText(reply, what.empty() ? reply.command : what);
    return Fail(EXIT_REFUSED,
                lead.empty() ? "The module " + answer + "." : lead + " (the module " + answer + ")", reply);
}

int ModuleSession::Report(int status, const CtlStreams& io, bool json) const {
    io.err << "tarnelctl: " << m_port.Name() << ": " << m_why << "\n";
    if (!json) return status;
    Record failure = FailureRecord(m_port.Name(), m_why, status);
    if (!m_failedReply.command.empty())
        failure.AddText("command", m_failedReply.command).AddText("answer", ReplyAnswer(m_failedReply.code));
    io.out << failure.Json();
    FlushOutput(io.out);
    return status;
}

int ModuleSession::Stopped(const std::string& done) {
    m_why = Interruption() + (done.empty() ? "." : "; " + done + ".");
    return EXIT_INTERRUPTED;
}

int ModuleSession::Finished() {
    return Interrupted() ? Stopped(m_done) : EXIT_DONE;
}

// During the write or with its last answer, so the module was not reset;
// reopening the port would fail too, and say that it was.
int ModuleSession::LostWhileWriting(const ModuleWrite& write) {
    m_why = Msg(IDS_PORT_ERROR) +
            " (the port went away as these settings were written: " + WrittenText(write) +
            "; the module was not reset)";
    return EXIT_PORT;
}

int ModuleSession::Check() {
    if (Interrupted()) return Stopped({});
    m_progress.Step("probing", m_port.Name(), "Checking the module on " + m_port.Name() + " ...");
    const FlowOutcome outcome = m_flow.After(FlowStep::Check, m_flow.Check(&m_model));
    m_checkSwitch = m_flow.Module().ResponsesSwitch();
    if (outcome.next == FlowNext::Read) return EXIT_DONE;
    return Fail(EXIT_NO_MODULE, Msg(outcome.message));
}

int ModuleSession::Read() {
    FlowOutcome outcome;
    return ReadStep(outcome);
}

int ModuleSession::ReadStep(FlowOutcome& outcome) {
    if (Interrupted()) return Stopped({});
    m_progress.Step("reading", m_port.Name(), "Reading the module on " + m_port.Name() + " ...");
    const ModuleResult result = m_flow.Read(m_reading);
    outcome = m_flow.After(FlowStep::Read, result, m_reading.devInfo);
    if (result != ModuleResult::Ok) return Refused("The module's settings could not be read.", {});
    if (outcome.next != FlowNext::Ready && outcome.next != FlowNext::AskDisconnect)
        return Fail(EXIT_REFUSED, Msg(outcome.message));
    if (const int status = ResponsesOn(); status != EXIT_DONE) return status;
    m_done = "the module was read";
    return EXIT_DONE;
}

// The configurator goes on whatever the switch answered; a script is not
// to work on with responses that may be off.
int ModuleSession::ResponsesOn() {
    for (const ModuleReply& turnedOn : {m_checkSwitch, m_flow.Module().ResponsesSwitch()}) {
        if (turnedOn.code != RES_OK) {
            return Fail(
                EXIT_REFUSED,
                "Command responses stay off: the module " + ReplyText(turnedOn, turnedOn.command) + ".",
                turnedOn);
        }
    }
    return EXIT_DONE;
}

int ModuleSession::ReadUnlinked() {
    FlowOutcome outcome;
    for (;;) {
        if (const int status = ReadStep(outcome); status != EXIT_DONE) return status;
        if (outcome.next != FlowNext::AskDisconnect) return EXIT_DONE;
        if (const int status = EndLink(); status != EXIT_DONE) return status;
    }
}

// As the configurator: the module is told to end its link, then checked
// again. A link that does not end stops the command.
int ModuleSession::EndLink() {
    Note(Msg(IDS_CONNECTED_WILL_DISCONNECT) + " Ending its Bluetooth connection.");
    m_progress.Step("ending-link", m_port.Name(), "Ending the connection on " + m_port.Name() + " ...");
    if (m_flow.After(FlowStep::Disconnect, m_flow.Disconnect()).failed) {
        // Its OK came, but no report that the link ended.
        if (m_flow.Module().LastReply().code == RES_OK) return Fail(EXIT_REFUSED, Msg(IDS_DISCONNECT_FAILED));
        return Refused(Msg(IDS_DISCONNECT_FAILED), {});
    }
    return Check();
}

ModuleReading ModuleSession::AsFound() const {
    ModuleReading found = m_reading;
    if (m_foundResponsesOff) found.responses = 1;
    return found;
}

int ModuleSession::ApplyAndVerify(const ModuleWrite& write) {
    if (Interrupted()) return Stopped("nothing was written");
    m_progress.Step("writing", m_port.Name(), "Writing the settings on " + m_port.Name() + " ...");
    DeviceInfo current{};
    const ModuleResult result = m_flow.Apply(write, current);
    if (m_port.Lost()) return LostWhileWriting(write);
    if (const FlowOutcome outcome = m_flow.After(FlowStep::Apply, result); outcome.failed)
        return Refused(Msg(outcome.message), WrittenValue(result));
    m_flow.ResetModule();
    if (m_port.Lost()) return LostWhileWriting(write);
    if (Interrupted())
        return Stopped("the settings were written and the module reset; they were not read back");
    if (const int status = ReadBackAt(WrittenLine(write)); status != EXIT_DONE) return status;
    m_done = "the settings were written, the module reset and read back";
    m_notTaken = NotTaken(write, m_reading);
    if (m_notTaken.empty()) return EXIT_DONE;
    std::string list;
    for (const std::string& value : m_notTaken)
        list += (list.empty() ? "" : ", ") + value;
    return Fail(EXIT_REFUSED, "These values did not take: " + list + ".");
}

int ModuleSession::FactoryReset() {
    if (const int status = ReadUnlinked(); status != EXIT_DONE) return status;
    if (Interrupted()) return Stopped("the module was not reset");
    m_progress.Step("resetting", m_port.Name(), "Resetting the module on " + m_port.Name() + " ...");
    if (m_flow.FactoryReset() != ModuleResult::Ok) return Refused({}, "the factory reset");
    if (Interrupted()) return Stopped("the module was reset to its factory settings; it was not read back");
    if (const int status = ReadBackAt(LineSettings{}); status != EXIT_DONE) return status;
    m_done = "the module was reset to its factory settings and read back";
    return EXIT_DONE;
}

int ModuleSession::ReadBackAt(const LineSettings& line) {
    const std::string framing = FormatLineSettings(line);
    if (const std::error_code error = m_port.Open(line))
        return Fail(EXIT_PORT, "The port could not be opened again at " + framing + ": " + error.message());
    m_progress.Step("verifying", m_port.Name(),
                    "Reading back at " + framing + " on " + m_port.Name() + " ...");
    const auto deadline = std::chrono::steady_clock::now() + kRestartTime;
    do {
        const ModuleResult result = m_flow.Module().ReadQueriesOnly(m_reading);
        if (result == ModuleResult::Ok) return EXIT_DONE;
        if (result == ModuleResult::Closed) break;
    } while (std::chrono::steady_clock::now() < deadline && !Interrupted());
    return Fail(EXIT_REFUSED, "The module did not answer at " + framing + " after its reset.");
}

}  // namespace tarnel::ctl
