#include "ctl/IsoTimeText.h"

#include <cstdio>
#include <cstdlib>

namespace tarnel::ctl {

std::string IsoTimeText(const std::tm& local, int millis, long offsetSeconds) {
    const long offsetMinutes = std::labs(offsetSeconds) / 60;
    char text[96];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03d%c%02ld:%02ld", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec, millis,
                  offsetSeconds < 0 ? '-' : '+', offsetMinutes / 60, offsetMinutes % 60);
    return text;
}

}  // namespace tarnel::ctl
