#include "ctl/ProgressLine.h"

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

void ProgressLine::Update(const std::string& text) {
    if (!m_onTerminal || m_clock() - m_start <= kQuietTime) return;
    m_out << kRewind << text << std::flush;
    m_shown = true;
}

void ProgressLine::Clear() {
    if (!m_shown) return;
    m_out << kRewind << std::flush;
    m_shown = false;
}

}  // namespace tarnel::ctl
