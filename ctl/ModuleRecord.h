#pragma once

#include <string>

#include "ctl/LineSettings.h"
#include "ctl/Record.h"
#include "module/ModuleReading.h"

namespace tarnel::ctl {

// A module's settings as info, set and reset print them. The module has no
// query for its framing: `line` is the one it answered at.
Record ModuleRecord(const std::string& port, const std::string& model, const ModuleReading& reading,
                    const LineSettings& line);

// `address` as 12 hexadecimal digits.
std::string AddressText(const BdAddr& address);
// The module's name as the +INFO1 record holds it.
std::string NameText(const DeviceInfo& info);

}  // namespace tarnel::ctl
