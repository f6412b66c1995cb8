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

void ModulePort::Close() {
    if (m_comm.IsOpen()) m_comm.Close();
}

}  // namespace tarnel::ctl
