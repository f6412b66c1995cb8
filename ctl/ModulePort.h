#pragma once

#include <string>
#include <system_error>

#include "ctl/LineSettings.h"
#include "protocol/TarnelComm.h"

namespace tarnel::ctl {

class ProgressLine;

// The port a module is on, open at one framing at a time: the engine that
// talks to the module, and the framing it talks at.
class ModulePort {
public:
    explicit ModulePort(std::string port);
    ~ModulePort();
    ModulePort(const ModulePort&) = delete;
    ModulePort& operator=(const ModulePort&) = delete;

    // Opens (or reopens) the port at `line`; the channel's error on failure.
    std::error_code Open(const LineSettings& line);
    // Opens the port at each framing of ProbeOrder in turn until a module
    // answers a probe of `probeMs`. `found` tells whether one did; the port
    // then stays open at its framing. An error when the port cannot be opened.
    std::error_code Find(unsigned probeMs, ProgressLine& progress, bool& found);
    void Close();
    // The port failed while open: the channel closed itself on a read error
    // (the module's cable pulled, the adapter gone).
    bool Lost() const;

    TarnelComm& Comm() { return m_comm; }
    const std::string& Name() const { return m_port; }
    const LineSettings& Line() const { return m_line; }

private:
    std::string m_port;
    LineSettings m_line;
    TarnelComm m_comm;
    bool m_open = false;
};

}  // namespace tarnel::ctl
