#include "serial/VirtualPortDirectoryLinux.h"

#include <unistd.h>

#include <cstdlib>
#include <string>

std::filesystem::path VirtualPortDirectory() {
    const char* runtimeDir = std::getenv("XDG_RUNTIME_DIR");
    if (runtimeDir != nullptr && *runtimeDir != '\0')
        return std::filesystem::path(runtimeDir) / "tarnel-ports";
    return std::filesystem::path("/tmp") / ("tarnel-ports-" + std::to_string(getuid()));
}

std::filesystem::path VirtualPortLockPath(const std::filesystem::path& link) {
    std::filesystem::path lock = link;
    lock += ".lock";
    return lock;
}
