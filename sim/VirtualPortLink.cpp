#include "sim/VirtualPortLink.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

#include "serial/VirtualPortDirectoryLinux.h"

namespace tarnel::sim {

namespace fs = std::filesystem;

namespace {

// A port list tests a companion with a shared lock for an instant; a lock that
// stays taken past these tries belongs to a live publisher.
constexpr int kLockTries = 20;
constexpr auto kLockRetry = std::chrono::milliseconds(5);

std::error_code LastError() {
    return {errno, std::system_category()};
}

bool IsStaleLink(const fs::path& link) {
    std::error_code ec;
    return fs::is_symlink(fs::symlink_status(link, ec)) && !fs::exists(link, ec);
}

bool SameFile(int fd, const fs::path& path) {
    struct stat held {};
    struct stat named {};
    return fstat(fd, &held) == 0 && stat(path.c_str(), &named) == 0 && held.st_dev == named.st_dev &&
           held.st_ino == named.st_ino;
}

// Takes the companion's lock; `inherited` tells that the companion was there
// before, left by a publisher that has since died. A companion removed between
// opening and locking (its publisher just ended) is opened anew.
std::error_code LockCompanion(const fs::path& lockPath, int& fd, bool& inherited) {
    for (int attempt = 0; attempt < kLockTries; ++attempt) {
        inherited = fs::exists(lockPath);
        fd = open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (fd < 0) return LastError();
        const bool locked = flock(fd, LOCK_EX | LOCK_NB) == 0;
        if (locked && SameFile(fd, lockPath)) return {};
        close(fd);
        fd = -1;
        if (!locked) std::this_thread::sleep_for(kLockRetry);
    }
    return std::make_error_code(std::errc::file_exists);
}

std::error_code PlaceLink(const std::string& device, const fs::path& link, bool replace) {
    if (symlink(device.c_str(), link.c_str()) == 0) return {};
    if (errno != EEXIST) return LastError();
    if (!replace && !IsStaleLink(link)) return std::make_error_code(std::errc::file_exists);
    if (unlink(link.c_str()) != 0 && errno != ENOENT) return LastError();
    if (symlink(device.c_str(), link.c_str()) != 0) return LastError();
    return {};
}

}  // namespace

std::error_code PublishPortLink(const std::string& device, const std::string& name, fs::path& path,
                                int& lockFd) {
    if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos)
        return std::make_error_code(std::errc::invalid_argument);
    const fs::path dir = VirtualPortDirectory();
    std::error_code ec;
    if (fs::create_directories(dir, ec)) fs::permissions(dir, fs::perms::owner_all, ec);
    if (ec) return ec;
    const fs::path link = dir / name;
    const fs::path lockPath = VirtualPortLockPath(link);
    bool inherited = false;
    int fd = -1;
    if ((ec = LockCompanion(lockPath, fd, inherited))) return ec;
    if ((ec = PlaceLink(device, link, inherited))) {
        if (!inherited) unlink(lockPath.c_str());
        close(fd);
        return ec;
    }
    path = link;
    lockFd = fd;
    return {};
}

void RemovePortLink(const fs::path& link, const std::string& device, int& lockFd) {
    std::error_code ec;
    if (fs::read_symlink(link, ec) == fs::path(device)) unlink(link.c_str());
    if (lockFd < 0) return;
    unlink(VirtualPortLockPath(link).c_str());
    close(lockFd);
    lockFd = -1;
}

}  // namespace tarnel::sim
