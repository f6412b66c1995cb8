#pragma once

#include <string>
#include <vector>

#include "ctl/CtlArgs.h"
#include "ctl/LineSettings.h"
#include "module/ModuleReading.h"

namespace tarnel::ctl {

// One setting the module does not hold as the target has it.
struct SettingDiff {
    std::string setting;  // the option's name without dashes: "name", "uart", ...
    std::string module;   // as the module has it
    std::string target;
};

// The settings of `target` that the module, read as `found` at `line`, does
// not hold; those not given are not compared. Command responses are compared
// as the module had them before anything switched them on.
std::vector<SettingDiff> SettingsDiff(const ModuleSettings& target, const ModuleReading& found,
                                      const LineSettings& line);

// The differences as a person reads them: "'module', target 'target'".
std::string DiffText(const SettingDiff& diff);

}  // namespace tarnel::ctl
