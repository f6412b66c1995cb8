#pragma once

#include <string>
#include <system_error>

#include "ctl/LineSettings.h"
#include "protocol/TarnelComm.h"

namespace tarnel::ctl {

// Opens `port` on the engine with the framing `line`, 8 data bits and no flow
// control on the host side. Returns the engine's (the channel's) error code;
// OpenErrorMessage turns a failure into words.
std::error_code OpenLine(TarnelComm& comm, const std::string& port, const LineSettings& line);

}  // namespace tarnel::ctl
