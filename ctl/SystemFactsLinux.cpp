#include "ctl/SystemFacts.h"

#include <unistd.h>

#include <ctime>

#include "ctl/IsoTimeText.h"

namespace tarnel::ctl {

std::string HostName() {
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0) return {};
    return name;
}

std::string LocalTimeText(std::chrono::system_clock::time_point when) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
    std::tm local{};
    localtime_r(&seconds, &local);
    const auto millis =
        std::chrono::duration_cast<std::chrono::milliseconds>(when.time_since_epoch()).count() % 1000;
    return IsoTimeText(local, static_cast<int>(millis), local.tm_gmtoff);
}

}  // namespace tarnel::ctl
