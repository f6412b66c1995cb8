#pragma once

#include <string>

#include "ctl/Record.h"

namespace tarnel::ctl {

// With --json, a command that fails says so on standard output too, beside
// its message on standard error, so that a script reading the results learns
// of it: {"port":…,"result":"FAIL","reason":…,"status":N}, N the exit status.
Record FailureRecord(const std::string& port, const std::string& reason, int status);

}  // namespace tarnel::ctl
