#include "ctl/ProgressLine.h"

#include <mutex>
#include <nlohmann/json.hpp>

#include "ctl/SystemFacts.h"

namespace tarnel::ctl {
namespace {

// Carriage return, then erase to the end of the line.
constexpr const char* kRewind = "\r\x1b[K";

}  // namespace

ProgressLine::ProgressLine(std::ostream& out, bool onTerminal, Clock clock)
    : m_out(out), m_onTerminal(onTerminal), m_clock(std::move(clock)), m_start(m_clock()) {}

ProgressLine::~ProgressLine() {
    Clear();
}

void ProgressLine::Step(const std::string& event, const std::string& port, const std::string& text) {
    if (!m_json) {
        Update(text);
        return;
    }
    const nlohmann::json line{
        {"time", LocalTimeText(std::chrono::system_clock::now())}, {"port", port}, {"event", event}};
    // Stations on several threads share the stream; an event is one whole line.
    static std::mutex mutex;
    const std::lock_guard lock(mutex);
    m_out << line.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) << "\n" << std::flush;
}

void ProgressLine::Update(const std::string& text) {
    if (m_json || !m_onTerminal || m_clock() - m_start <= kQuietTime) return;
    m_out << kRewind << text << std::flush;
    m_shown = true;
}

void ProgressLine::Clear() {
    if (!m_shown) return;
    m_out << kRewind << std::flush;
    m_shown = false;
}

}  // namespace tarnel::ctl
