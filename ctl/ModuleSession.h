#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "ctl/ModulePort.h"
#include "ctl/ProgressLine.h"
#include "module/ModuleReading.h"
#include "module/ModuleWrite.h"
#include "module/TarnelModule.h"

namespace tarnel::ctl {

// The steps of info, set, reset and provision on one open port, each
// returning the exit status it leads to; Why() says what went wrong. A port
// that fails during a step ends it with EXIT_PORT and IDS_PORT_ERROR.
class ModuleSession {
public:
    // Notes (command responses switched on) go to `err`; the steps show on
    // `progress`.
    ModuleSession(ModulePort& port, std::ostream& err, ProgressLine& progress);

    // The module answers: EXIT_DONE or EXIT_NO_MODULE.
    int Check();
    // Model name and every setting into Model() and Reading(): EXIT_DONE or
    // EXIT_REFUSED.
    int Read();
    // Writes `write`, resets the module, reopens the port at the written
    // framing and reads back with queries only: EXIT_DONE when every value
    // took, else EXIT_REFUSED with NotTaken() or Why() filled.
    int ApplyAndVerify(const ModuleWrite& write);
    // Factory reset, then a read back at the factory framing.
    int FactoryReset();

    TarnelModule& Module() { return m_module; }
    const std::string& Model() const { return m_model; }
    const ModuleReading& Reading() const { return m_reading; }
    const std::vector<std::string>& NotTakenValues() const { return m_notTaken; }
    const std::string& Why() const { return m_why; }

private:
    int ReadBackAt(const LineSettings& line);
    int Fail(int status, std::string why);

    ModulePort& m_port;
    ProgressLine& m_progress;
    TarnelModule m_module;
    std::string m_model;
    ModuleReading m_reading;
    std::vector<std::string> m_notTaken;
    std::string m_why;
};

}  // namespace tarnel::ctl
