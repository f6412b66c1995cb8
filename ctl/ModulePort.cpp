#include "ctl/ModulePort.h"

#include "ctl/OpenLine.h"
#include "ctl/ProbeOrder.h"
#include "ctl/ProgressLine.h"
#include "module/TarnelModule.h"

namespace tarnel::ctl {

ModulePort::ModulePort(std::string port) : m_port(std::move(port)) {}

ModulePort::~ModulePort() {
    Close();
}

std::error_code ModulePort::Open(const LineSettings& line) {
    Close();
    const std::error_code error = OpenLine(m_comm, m_port, line);
    if (!error) m_line = line;
    m_open = !error;
    return error;
}

std::error_code ModulePort::Find(unsigned probeMs, ProgressLine& progress, bool& found) {
    found = false;
    TarnelModule module(m_comm);
    for (const LineSettings& line : ProbeOrder()) {
        progress.Update("Trying " + FormatLineSettings(line) + " on " + m_port + " ...");
        if (const std::error_code error = Open(line)) return error;
        if (module.Probe(probeMs)) {
            found = true;
            return {};
        }
    }
    Close();
    return {};
}

// Also after the channel closed itself: the engine gives back its share of
// the executor only in its Close.
void ModulePort::Close() {
    m_comm.Close();
    m_open = false;
}

bool ModulePort::Lost() const {
    return m_open && !m_comm.IsOpen();
}

}  // namespace tarnel::ctl
