#pragma once

#include <chrono>
#include <string>

namespace tarnel::ctl {

// What a production record says of the station beyond the module; each
// platform has its own source.

// The computer's name; empty when the system does not tell it.
std::string HostName();
// `when` in local time as ISO 8601 with the zone's offset:
// 2026-05-04T13:07:42.015+09:00.
std::string LocalTimeText(std::chrono::system_clock::time_point when);

}  // namespace tarnel::ctl
