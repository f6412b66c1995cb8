#pragma once

#include <ctime>
#include <string>

namespace tarnel::ctl {

// `local` (a broken-down local time) with `millis` and the zone's offset
// from UTC in seconds, as ISO 8601: 2026-05-04T13:07:42.015+09:00.
std::string IsoTimeText(const std::tm& local, int millis, long offsetSeconds);

}  // namespace tarnel::ctl
