#include "ctl/ModulePort.h"

#include <algorithm>
#include <vector>

#include "ctl/Interrupt.h"
#include "ctl/OpenLine.h"
#include "ctl/ProbeOrder.h"
#include "ctl/ProgressLine.h"
#include "ctl/Trace.h"
#include "module/TarnelModule.h"

namespace tarnel::ctl {
namespace {

std::vector<unsigned> ProbeWaits(unsigned probeMs) {
    if (probeMs <= ModulePort::kQuickProbeMs) return {probeMs};
    return {ModulePort::kQuickProbeMs, probeMs};
}

}  // namespace

ModulePort::ModulePort(std::string port) : m_port(std::move(port)) {
    if (!Trace::Enabled()) return;
    m_comm.m_onSend = [this](const TarnelComm*, std::vector<char>& data) {
        Trace::Bytes(m_port, '>', {data.data(), data.size()});
    };
    m_comm.m_onReceive = [this](const TarnelComm*, const std::vector<uint8_t>& data) {
        Trace::Bytes(m_port, '<', {reinterpret_cast<const char*>(data.data()), data.size()});
    };
}

ModulePort::~ModulePort() {
    Close();
}

std::error_code ModulePort::Open(const LineSettings& line) {
    Close();
    const std::error_code error = OpenLine(m_comm, m_port, line);
    if (Trace::Enabled())
        Trace::Note(m_port, "open at " + FormatLineSettings(line) + (error ? ": " + error.message() : ""));
    if (error) return error;
    m_line = line;
    m_opened = true;
    return {};
}

std::error_code ModulePort::Reframe(const LineSettings& line) {
    if (!m_comm.IsOpen()) return Open(line);
    const std::error_code error = m_comm.Reconfigure(line.baud, 8, ParityFromLetter(line.parity),
                                                     StopBitsFromCount(line.stopBits), FLOW_NONE);
    if (Trace::Enabled())
        Trace::Note(m_port,
                    "reframed to " + FormatLineSettings(line) + (error ? ": " + error.message() : ""));
    if (!error) m_line = line;
    return error;
}

std::error_code ModulePort::Find(unsigned probeMs, ProgressLine& progress, bool& found) {
    found = false;
    TarnelModule module(m_comm);
    for (const unsigned wait : ProbeWaits(probeMs)) {
        for (const LineSettings& line : ProbeOrder()) {
            if (Interrupted()) return std::make_error_code(std::errc::interrupted);
            progress.Step("probing", m_port, "Trying " + FormatLineSettings(line) + " on " + m_port + " ...");
            if (const std::error_code error = Reframe(line)) return error;
            if (module.Probe(wait)) {
                found = true;
                return {};
            }
        }
    }
    Close();
    return {};
}

// Also after the channel closed itself: the engine gives back its share of
// the executor only in its Close.
void ModulePort::Close() {
    m_comm.Close();
    m_opened = false;
}

bool ModulePort::Lost() const {
    return m_opened && !m_comm.IsOpen();
}

}  // namespace tarnel::ctl
