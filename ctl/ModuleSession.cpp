#include "ctl/ModuleSession.h"

#include <chrono>

#include "ctl/ExitStatus.h"
#include "ctl/Interrupt.h"
#include "ctl/Messages.h"
#include "ctl/SettingsMerge.h"

namespace tarnel::ctl {
namespace {

// A module restarting after a reset answers again within this time.
constexpr std::chrono::seconds kRestartTime{5};

std::string RefusedValue(StepResult result) {
    switch (result) {
        case StepResult::NameFailed:
            return "the module refused the name";
        case StepResult::UartFailed:
            return "the module refused the UART settings";
        case StepResult::TargetFailed:
            return "the module refused the target";
        case StepResult::OpModeFailed:
            return "the module refused the operation mode";
        case StepResult::ResponseFailed:
            return "the module refused the response setting";
        default:
            return "the module did not answer while its settings were written";
    }
}

}  // namespace

ModuleSession::ModuleSession(ModulePort& port, std::ostream& err, ProgressLine& progress)
    : m_port(port), m_progress(progress), m_flow(port.Comm(), [this, &err, &progress, &port] {
          m_foundResponsesOff = true;
          progress.Clear();
          err << "tarnelctl: " << port.Name() << ": " << Msg(IDS_RESPONSE_DISABLED)
              << " Switching command responses on.\n";
      }) {}

int ModuleSession::Fail(int status, std::string why) {
    if (m_port.Lost()) {
        status = EXIT_PORT;
        why = Msg(IDS_PORT_ERROR) + " (the port went away)";
    } else if (Interrupted()) {
        status = EXIT_INTERRUPTED;
        why = Interruption() + (why.empty() ? "." : ". " + why);
    }
    m_why = std::move(why);
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
    m_progress.Update("Checking the module on " + m_port.Name() + " ...");
    const FlowOutcome outcome = m_flow.After(FlowStep::Check, m_flow.Check(&m_model));
    if (outcome.next == FlowNext::Read) return EXIT_DONE;
    return Fail(EXIT_NO_MODULE, Msg(outcome.message));
}

int ModuleSession::Read() {
    if (Interrupted()) return Stopped({});
    m_progress.Update("Reading the module on " + m_port.Name() + " ...");
    const FlowOutcome outcome = m_flow.After(FlowStep::Read, m_flow.Read(m_reading), m_reading.devInfo);
    // A script decides nothing it was not told: the connected module stays connected.
    if (outcome.next == FlowNext::Ready || outcome.next == FlowNext::AskDisconnect) {
        m_done = "the module was read";
        return EXIT_DONE;
    }
    return Fail(EXIT_REFUSED, "The module's settings could not be read.");
}

ModuleReading ModuleSession::AsFound() const {
    ModuleReading found = m_reading;
    if (m_foundResponsesOff) found.responses = 1;
    return found;
}

int ModuleSession::ApplyAndVerify(const ModuleWrite& write) {
    if (Interrupted()) return Stopped("nothing was written");
    m_progress.Update("Writing the settings on " + m_port.Name() + " ...");
    DeviceInfo current{};
    const StepResult result = m_flow.Apply(write, current);
    if (m_port.Lost()) return LostWhileWriting(write);
    if (const FlowOutcome outcome = m_flow.After(FlowStep::Apply, result); outcome.failed)
        return Fail(EXIT_REFUSED, Msg(outcome.message) + " (" + RefusedValue(result) + ")");
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
    if (Interrupted()) return Stopped("the module was not reset");
    m_progress.Update("Resetting the module on " + m_port.Name() + " ...");
    if (m_flow.FactoryReset() != StepResult::Ok)
        return Fail(EXIT_REFUSED, "The module refused the factory reset.");
    if (Interrupted()) return Stopped("the module was reset to its factory settings; it was not read back");
    if (const int status = ReadBackAt(LineSettings{}); status != EXIT_DONE) return status;
    m_done = "the module was reset to its factory settings and read back";
    return EXIT_DONE;
}

int ModuleSession::ReadBackAt(const LineSettings& line) {
    const std::string framing = FormatLineSettings(line);
    if (const std::error_code error = m_port.Open(line))
        return Fail(EXIT_PORT, "The port could not be opened again at " + framing + ": " + error.message());
    m_progress.Update("Reading back at " + framing + " on " + m_port.Name() + " ...");
    const auto deadline = std::chrono::steady_clock::now() + kRestartTime;
    do {
        const ModuleResult result = m_flow.Module().ReadQueriesOnly(m_reading);
        if (result == ModuleResult::Ok) return EXIT_DONE;
        if (result == ModuleResult::Closed) break;
    } while (std::chrono::steady_clock::now() < deadline && !Interrupted());
    return Fail(EXIT_REFUSED, "The module did not answer at " + framing + " after its reset.");
}

}  // namespace tarnel::ctl
