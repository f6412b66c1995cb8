#include "serial/PortClaims.h"

#include "serial/EnumerateSysfsComPorts.h"
#include "serial/PortHolder.h"
#include "serial/PortRefusal.h"
#include "serial/VirtualPortDirectory.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstring>
#include <fstream>
#include <string_view>

namespace fs = std::filesystem;

namespace {

constexpr unsigned kPtySlaveMajorFirst = 136;
constexpr unsigned kPtySlaveMajorLast = 143;

// A shared lock taken and dropped at once proves that no publisher holds its
// exclusive one.
bool IsAbandonedLink(const fs::path& link) {
    const int fd = open(VirtualPortLockPath(link).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool free = flock(fd, LOCK_SH | LOCK_NB) == 0;
    close(fd);
    return free;
}

bool Newer(const timespec& a, const timespec& b) {
    return a.tv_sec != b.tv_sec ? a.tv_sec > b.tv_sec : a.tv_nsec > b.tv_nsec;
}

// A lock file holds its process id as text ("%10d\n"), or, from older
// programs, as the binary int. 0 when it holds neither.
int ReadLockPid(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::array<char, 32> bytes{};
    in.read(bytes.data(), bytes.size());
    const auto size = static_cast<std::size_t>(in.gcount());
    const std::string_view text(bytes.data(), size);
    const std::size_t start = text.find_first_not_of(' ');
    int pid = 0;
    if (start != std::string_view::npos) {
        const auto [end, error] = std::from_chars(text.data() + start, text.data() + size, pid);
        const std::string_view rest(end, static_cast<std::size_t>(text.data() + size - end));
        if (error == std::errc{} && rest.find_first_not_of(" \n") == std::string_view::npos) return pid;
    }
    pid = 0;
    if (size == sizeof pid) std::memcpy(&pid, bytes.data(), sizeof pid);
    return pid;
}

// A process that exists but is not ours to signal is alive all the same.
bool IsAlive(int pid) {
    return pid > 0 && (kill(pid, 0) == 0 || errno == EPERM);
}

// The live holder of a lock under `name`'s last part, or 0.
int LiveLockHolder(const fs::path& lockDir, const fs::path& name) {
    const int pid = ReadLockPid(lockDir / ("LCK.." + name.filename().string()));
    return IsAlive(pid) ? pid : 0;
}

int PortLockHolder(const std::string& name, const fs::path& lockDir) {
    if (const int pid = LiveLockHolder(lockDir, name)) return pid;
    // A link's program may have locked the device under its own name.
    std::error_code error;
    const fs::path device = fs::canonical(name, error);
    return error ? 0 : LiveLockHolder(lockDir, device);
}

bool IsConsole(const fs::path& sysfsRoot, const struct stat& target) {
    const auto consoles = ConsoleDevices(sysfsRoot);
    return S_ISCHR(target.st_mode) &&
           std::find(consoles.begin(), consoles.end(), target.st_rdev) != consoles.end();
}

}  // namespace

bool IsPseudoTerminal(dev_t device) {
    return major(device) >= kPtySlaveMajorFirst && major(device) <= kPtySlaveMajorLast;
}

bool IsStaleLink(const fs::path& link, const struct stat& linkInfo, const struct stat& target) {
    if (IsAbandonedLink(link)) return true;
    // A real device's node may be remade under the same name (a replug), and
    // its name still stands for the port; a pseudo-terminal's number does not.
    return S_ISCHR(target.st_mode) && IsPseudoTerminal(target.st_rdev) &&
           Newer(target.st_ctim, linkInfo.st_ctim);
}

std::error_code CheckPortClaims(const std::string& name, const PortSystemPaths& paths, struct stat& target) {
    if (stat(name.c_str(), &target) != 0) return {errno, std::system_category()};
    struct stat linkInfo {};
    if (lstat(name.c_str(), &linkInfo) == 0 && S_ISLNK(linkInfo.st_mode) &&
        IsStaleLink(name, linkInfo, target))
        return PortRefusal::StaleLink;
    if (IsConsole(paths.sysfsRoot, target)) return PortRefusal::SystemConsole;
    if (const int pid = PortLockHolder(name, paths.lockDir)) return PortHeldByProcess(pid);
    return {};
}
