#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "ctl/CtlArgs.h"
#include "ctl/CtlStreams.h"
#include "protocol/BdAddr.h"

namespace tarnel::ctl {

class ModulePort;
class ModuleSession;

// provision: configures and verifies one module after another, one result
// line each, and keeps count. A module is known by its address: one that
// passed and comes again is reported and left alone; one that failed is
// tried again under the number it got.
class ProductionLine {
public:
    ProductionLine(const CtlArgs& args, const CtlStreams& io);

    // Waits up to `wait` for a module that answers on `portName`, then
    // configures and verifies it. False when none answered (a FAIL line is
    // printed).
    bool Provision(const std::string& portName, std::chrono::milliseconds wait);
    void PrintSummary() const;
    // EXIT_DONE when every module passed, else EXIT_REFUSED.
    int ExitStatus() const;

private:
    struct Known {
        BdAddr address;
        uint64_t number;
        bool passed;
    };
    bool Answers(ModulePort& port, ModuleSession& session) const;
    bool WaitForModule(ModulePort& port, ModuleSession& session, std::chrono::milliseconds wait) const;
    void Configure(ModulePort& port, ModuleSession& session);
    void PrintResult(const std::string& port, const std::string& address, const std::string& name,
                     const std::string& result, const std::string& why) const;
    Known& Entry(const BdAddr& address);

    const CtlArgs& m_args;
    const CtlStreams& m_io;
    std::vector<Known> m_known;
    uint64_t m_next;
    unsigned m_passed = 0;
    unsigned m_failed = 0;
    unsigned m_repeated = 0;
};

}  // namespace tarnel::ctl
