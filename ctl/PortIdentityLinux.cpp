#include "ctl/PortIdentity.h"

#include <sys/stat.h>

#include <filesystem>

namespace tarnel::ctl {

std::string PortIdentity(const std::string& port) {
    std::error_code error;
    std::string identity = std::filesystem::read_symlink(port, error).string();
    struct stat device {};
    if (stat(port.c_str(), &device) == 0) identity += " " + std::to_string(device.st_rdev);
    return identity;
}

}  // namespace tarnel::ctl
