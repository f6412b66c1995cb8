#pragma once

#include <string>
#include <system_error>

#include "ctl/LineSettings.h"
#include "protocol/TarnelComm.h"

namespace tarnel::ctl {

class ProgressLine;

// The port a module is on, open at one framing at a time: the engine that
// talks to the module, and the framing it talks at. With --trace on, every
// byte on it goes to the trace.
class ModulePort {
public:
    explicit ModulePort(std::string port);
    ~ModulePort();
    ModulePort(const ModulePort&) = delete;
    ModulePort& operator=(const ModulePort&) = delete;

    // Opens (or reopens) the port at `line`; the channel's error on failure.
    std::error_code Open(const LineSettings& line);
    // Tries each framing of ProbeOrder until a module answers a probe: first
    // every framing with a quick probe (at most kQuickProbeMs), then, when
    // none answered, every one again with the full `probeMs`, so that a slow
    // module is found too. The port is opened once and reframed in place
    // between probes. `found` tells whether a module answered; the port then
    // stays open at its framing. An error when the port cannot be opened or
    // reframed, std::errc::interrupted on Ctrl+C.
    std::error_code Find(unsigned probeMs, ProgressLine& progress, bool& found);
    void Close();
    // The port failed while open (an adapter unplugged, a simulator gone):
    // the channel closed itself.
    bool Lost() const;

    TarnelComm& Comm() { return m_comm; }
    const std::string& Name() const { return m_port; }
    const LineSettings& Line() const { return m_line; }

    // A module that answers at all answers a probe within this at any offered
    // baud rate: the probe and the reply take under 20 ms at 9600 baud.
    static constexpr unsigned kQuickProbeMs = 100;

private:
    std::error_code Reframe(const LineSettings& line);

    std::string m_port;
    LineSettings m_line;
    TarnelComm m_comm;
    bool m_opened = false;
};

}  // namespace tarnel::ctl
