#pragma once

#include <system_error>

// The busy error of a port that another program has marked as its own with a
// lock file: its message names the process, and it compares equal to
// std::errc::device_or_resource_busy like any other busy port.
std::error_code PortHeldByProcess(int pid);
