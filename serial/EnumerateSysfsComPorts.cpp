#include "serial/EnumerateSysfsComPorts.h"

#include "serial/EnumerateComPorts.h"
#include "serial/VirtualPortDirectory.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <optional>

namespace fs = std::filesystem;

namespace {

// Pseudo-terminal slaves (devpts) have these majors and no entry in sysfs.
constexpr unsigned kPtySlaveMajorFirst = 136;
constexpr unsigned kPtySlaveMajorLast = 143;

class PortList {
public:
    explicit PortList(std::vector<std::string>& names) : m_names(names) {}

    void Add(std::string name, std::optional<dev_t> device) {
        if (std::find(m_names.begin(), m_names.end(), name) != m_names.end()) return;
        if (device && std::find(m_devices.begin(), m_devices.end(), *device) != m_devices.end()) return;
        m_names.push_back(std::move(name));
        if (device) m_devices.push_back(*device);
    }

private:
    std::vector<std::string>& m_names;
    std::vector<dev_t> m_devices;
};

std::optional<std::string> ReadLine(const fs::path& file) {
    std::ifstream in(file);
    std::string line;
    if (!std::getline(in, line)) return std::nullopt;
    return line;
}

// A sysfs "dev" attribute reads "MAJOR:MINOR".
std::optional<dev_t> DeviceNumber(const fs::path& entry) {
    const auto text = ReadLine(entry / "dev");
    unsigned major = 0;
    unsigned minor = 0;
    if (!text || std::sscanf(text->c_str(), "%u:%u", &major, &minor) != 2) return std::nullopt;
    return makedev(major, minor);
}

// Legacy 8250 ports exist whether or not a UART is behind them; the driver
// reports type 0 (unknown) for the empty ones.
bool HasKnownUart(const fs::path& entry) {
    const auto type = ReadLine(entry / "type");
    unsigned value = 0;
    return type && std::sscanf(type->c_str(), "%u", &value) == 1 && value != 0;
}

bool IsSerialDevice(const fs::path& entry) {
    std::error_code error;
    // Virtual consoles, the console and ptmx have no device behind them.
    if (!fs::exists(entry / "device", error)) return false;
    return entry.filename().string().rfind("ttyS", 0) != 0 || HasKnownUart(entry);
}

bool IsTerminalDevice(const fs::path& sysfsRoot, dev_t device) {
    if (major(device) >= kPtySlaveMajorFirst && major(device) <= kPtySlaveMajorLast) return true;
    const std::string number = std::to_string(major(device)) + ":" + std::to_string(minor(device));
    std::error_code error;
    const fs::path subsystem = fs::read_symlink(sysfsRoot / "dev" / "char" / number / "subsystem", error);
    return !error && subsystem.filename() == "tty";
}

// A shared lock taken and dropped at once proves that no publisher holds its
// exclusive one.
bool IsAbandonedLink(const fs::path& link) {
    const int fd = open(VirtualPortLockPath(link).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool free = flock(fd, LOCK_SH | LOCK_NB) == 0;
    close(fd);
    return free;
}

// A directory that does not exist is an empty source, not an error.
std::error_code MissingIsEmpty(std::error_code error) {
    return error == std::errc::no_such_file_or_directory ? std::error_code{} : error;
}

std::error_code ListKernelPorts(const fs::path& sysfsRoot, PortList& list) {
    std::error_code error;
    fs::directory_iterator it(sysfsRoot / "class" / "tty", error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        const fs::path& entry = it->path();
        if (IsSerialDevice(entry)) list.Add("/dev/" + entry.filename().string(), DeviceNumber(entry));
    }
    return MissingIsEmpty(error);
}

std::error_code ListVirtualPorts(const fs::path& sysfsRoot, const fs::path& dir, PortList& list) {
    std::error_code error;
    fs::directory_iterator it(dir, error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        std::error_code linkError;
        if (!it->is_symlink(linkError) || IsAbandonedLink(it->path())) continue;
        struct stat target {};
        // stat follows the link, so a dangling one fails here.
        if (stat(it->path().c_str(), &target) != 0 || !S_ISCHR(target.st_mode)) continue;
        if (IsTerminalDevice(sysfsRoot, target.st_rdev)) list.Add(it->path().string(), target.st_rdev);
    }
    return MissingIsEmpty(error);
}

}  // namespace

std::error_code EnumerateComPorts(std::vector<std::string>& ports) {
    return EnumerateSysfsComPorts(ports, "/sys", VirtualPortDirectory());
}

std::error_code EnumerateSysfsComPorts(std::vector<std::string>& ports, const fs::path& sysfsRoot,
                                       const fs::path& virtualPortDir) {
    ports.clear();
    PortList list(ports);
    const std::error_code kernelError = ListKernelPorts(sysfsRoot, list);
    const std::error_code virtualError = ListVirtualPorts(sysfsRoot, virtualPortDir, list);
    return kernelError ? kernelError : virtualError;
}
