#include "sim/VirtualPortLink.h"

#include <unistd.h>

#include <cerrno>

#include "serial/VirtualPortDirectory.h"

namespace tarnel::sim {

namespace fs = std::filesystem;

namespace {

std::error_code LastError() {
    return {errno, std::system_category()};
}

bool IsStaleLink(const fs::path& link) {
    std::error_code ec;
    return fs::is_symlink(fs::symlink_status(link, ec)) && !fs::exists(link, ec);
}

}  // namespace

std::error_code PublishPortLink(const std::string& device, const std::string& name, fs::path& path) {
    if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos)
        return std::make_error_code(std::errc::invalid_argument);
    const fs::path dir = VirtualPortDirectory();
    std::error_code ec;
    if (fs::create_directories(dir, ec)) fs::permissions(dir, fs::perms::owner_all, ec);
    if (ec) return ec;
    const fs::path link = dir / name;
    if (symlink(device.c_str(), link.c_str()) != 0) {
        if (errno != EEXIST) return LastError();
        if (!IsStaleLink(link)) return std::make_error_code(std::errc::file_exists);
        if (unlink(link.c_str()) != 0 && errno != ENOENT) return LastError();
        if (symlink(device.c_str(), link.c_str()) != 0) return LastError();
    }
    path = link;
    return {};
}

void RemovePortLink(const fs::path& link, const std::string& device) {
    std::error_code ec;
    if (fs::read_symlink(link, ec) == fs::path(device)) unlink(link.c_str());
}

}  // namespace tarnel::sim
