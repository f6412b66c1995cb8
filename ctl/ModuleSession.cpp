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

std::string RefusedValue(ModuleResult result) {
    switch (result) {
        case ModuleResult::NameFailed:
            return "the module refused the name";
        case ModuleResult::UartFailed:
            return "the module refused the UART settings";
        case ModuleResult::TargetFailed:
            return "the module refused the target";
        case ModuleResult::OpModeFailed:
            return "the module refused the operation mode";
        case ModuleResult::ResponseFailed:
            return "the module refused the response setting";
        default:
            return "the module did not answer while its settings were written";
    }
}

}  // namespace

ModuleSession::ModuleSession(ModulePort& port, std::ostream& err, ProgressLine& progress)
    : m_port(port), m_progress(progress), m_module(port.Comm(), [this, &err, &progress, &port] {
          m_foundResponsesOff = true;
          progress.Clear();
          err << "tarnelctl: " << port.Name() << ": " << Msg(IDS_RESPONSES_OFF)
              << " Switching command responses on.\n";
      }) {}

int ModuleSession::Fail(int status, std::string why) {
    if (m_port.Lost()) {
        status = EXIT_PORT;
        why = Msg(IDS_PORT_ERROR) + " (the port went away)";
    } else if (Interrupted()) {
        status = EXIT_INTERRUPTED;
        why = "Interrupted.";
    }
    m_why = std::move(why);
    return status;
}

int ModuleSession::Check() {
    if (Interrupted()) return Fail(EXIT_INTERRUPTED, {});
    m_progress.Update("Checking the module on " + m_port.Name() + " ...");
    if (m_module.Check(&m_model) == ModuleResult::Ok) return EXIT_DONE;
    return Fail(EXIT_NO_MODULE, Msg(IDS_NO_MODULE));
}

int ModuleSession::Read() {
    if (Interrupted()) return Fail(EXIT_INTERRUPTED, {});
    m_progress.Update("Reading the module on " + m_port.Name() + " ...");
    if (m_module.Read(m_reading) != ModuleResult::Ok)
        return Fail(EXIT_REFUSED, "The module's settings could not be read.");
    return EXIT_DONE;
}

ModuleReading ModuleSession::AsFound() const {
    ModuleReading found = m_reading;
    if (m_foundResponsesOff) found.responses = 1;
    return found;
}

int ModuleSession::ApplyAndVerify(const ModuleWrite& write) {
    if (Interrupted()) return Fail(EXIT_INTERRUPTED, {});
    m_progress.Update("Writing the settings on " + m_port.Name() + " ...");
    DeviceInfo current{};
    if (const ModuleResult result = m_module.Apply(write, current); result != ModuleResult::Ok)
        return Fail(EXIT_REFUSED, Msg(IDS_SAVE_FAILED) + " (" + RefusedValue(result) + ")");
    m_module.Reset();
    if (const int status = ReadBackAt(WrittenLine(write)); status != EXIT_DONE) return status;
    m_notTaken = NotTaken(write, m_reading);
    if (m_notTaken.empty()) return EXIT_DONE;
    std::string list;
    for (const std::string& value : m_notTaken)
        list += (list.empty() ? "" : ", ") + value;
    return Fail(EXIT_REFUSED, "These values did not take: " + list + ".");
}

int ModuleSession::FactoryReset() {
    if (Interrupted()) return Fail(EXIT_INTERRUPTED, {});
    m_progress.Update("Resetting the module on " + m_port.Name() + " ...");
    if (m_module.FactoryReset() != ModuleResult::Ok)
        return Fail(EXIT_REFUSED, "The module refused the factory reset.");
    return ReadBackAt(LineSettings{});
}

int ModuleSession::ReadBackAt(const LineSettings& line) {
    const std::string framing = FormatLineSettings(line);
    if (const std::error_code error = m_port.Open(line))
        return Fail(EXIT_PORT, "The port could not be opened again at " + framing + ": " + error.message());
    m_progress.Update("Reading back at " + framing + " on " + m_port.Name() + " ...");
    const auto deadline = std::chrono::steady_clock::now() + kRestartTime;
    do {
        const ModuleResult result = m_module.ReadQueriesOnly(m_reading);
        if (result == ModuleResult::Ok) return EXIT_DONE;
        if (result == ModuleResult::Closed) break;
    } while (std::chrono::steady_clock::now() < deadline && !Interrupted());
    return Fail(EXIT_REFUSED, "The module did not answer at " + framing + " after its reset.");
}

}  // namespace tarnel::ctl
