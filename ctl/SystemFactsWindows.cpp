#include "ctl/SystemFacts.h"

#include <windows.h>

#include <ctime>

#include "ctl/IsoTimeText.h"
#include "serial/WideToNarrowWindows.h"

namespace tarnel::ctl {

std::string HostName() {
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
    if (!GetComputerNameW(name, &size)) return {};
    return WideToNarrow(std::wstring_view(name, size), CP_UTF8).value_or(std::string());
}

std::string LocalTimeText(std::chrono::system_clock::time_point when) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
    std::tm local{};
    localtime_s(&local, &seconds);
    // The local time read as if it were UTC, less the moment itself: the offset.
    std::tm asUtc = local;
    const long offset = static_cast<long>(_mkgmtime(&asUtc) - seconds);
    const auto millis =
        std::chrono::duration_cast<std::chrono::milliseconds>(when.time_since_epoch()).count() % 1000;
    return IsoTimeText(local, static_cast<int>(millis), offset);
}

}  // namespace tarnel::ctl
