#pragma once

#include <string>
#include <vector>

#include "ctl/CtlArgs.h"
#include "ctl/LineSettings.h"
#include "module/ModuleReading.h"
#include "module/ModuleWrite.h"

namespace tarnel::ctl {

// What an Apply writes: the given settings over the module's current ones,
// as the configurator keeps what the user did not change. `line` is the
// framing the module answered at.
ModuleWrite MergeSettings(const ModuleReading& current, const LineSettings& line,
                          const ModuleSettings& given);

// The values of `written` that the module read back as `after` does not
// hold, by their option names ("name", "flow control", "mode", "target",
// "responses"). The framing is not among them: the module answering at the
// written one shows that it took.
std::vector<std::string> NotTaken(const ModuleWrite& written, const ModuleReading& after);

// The framing of `written`.
LineSettings WrittenLine(const ModuleWrite& written);

// `written` on one line, under the keys info prints: "name: X, mode: 0,
// uart: 9600,N,1, flow-control: no, responses: yes" (and the target when
// one is written).
std::string WrittenText(const ModuleWrite& written);

}  // namespace tarnel::ctl
