#include "serial/EnumerateComPortsLinux.h"

#include "serial/EnumerateComPorts.h"
#include "serial/PortClaimsLinux.h"
#include "serial/VirtualPortDirectoryLinux.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <optional>

namespace fs = std::filesystem;

namespace {

// The active consoles' devices start the list of devices already seen, so
// that they are never listed, under any name.
class PortList {
public:
    PortList(std::vector<std::string>& names, std::vector<dev_t> consoles)
        : m_names(names), m_devices(std::move(consoles)) {}

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
    if (IsPseudoTerminal(device)) return true;
    const std::string number = std::to_string(major(device)) + ":" + std::to_string(minor(device));
    std::error_code error;
    const fs::path subsystem = fs::read_symlink(sysfsRoot / "dev" / "char" / number / "subsystem", error);
    return !error && subsystem.filename() == "tty";
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
        struct stat linkInfo {};
        struct stat target {};
        // stat follows the link, so a dangling one fails here.
        if (lstat(it->path().c_str(), &linkInfo) != 0 || !S_ISLNK(linkInfo.st_mode) ||
            stat(it->path().c_str(), &target) != 0 || !S_ISCHR(target.st_mode))
            continue;
        if (IsTerminalDevice(sysfsRoot, target.st_rdev) && !IsStaleLink(it->path(), linkInfo, target))
            list.Add(it->path().string(), target.st_rdev);
    }
    return MissingIsEmpty(error);
}

}  // namespace

std::vector<dev_t> ConsoleDevices(const fs::path& sysfsRoot) {
    std::ifstream active(sysfsRoot / "class" / "tty" / "console" / "active");
    std::vector<dev_t> devices;
    std::string name;
    while (active >> name) {
        // A name that would lead out of class/tty names no console.
        if (name.find('/') != std::string::npos || name == "..") continue;
        if (const auto device = DeviceNumber(sysfsRoot / "class" / "tty" / name)) devices.push_back(*device);
    }
    return devices;
}

std::error_code EnumerateComPorts(std::vector<PortName>& ports) {
    std::vector<std::string> paths;
    const std::error_code error = EnumerateSysfsComPorts(paths, "/sys", VirtualPortDirectory());
    ports.clear();
    for (std::string& path : paths)
        ports.push_back(PortName::FromNative(std::move(path)));
    return error;
}

std::error_code EnumerateSysfsComPorts(std::vector<std::string>& ports, const fs::path& sysfsRoot,
                                       const fs::path& virtualPortDir) {
    ports.clear();
    PortList list(ports, ConsoleDevices(sysfsRoot));
    const std::error_code kernelError = ListKernelPorts(sysfsRoot, list);
    const std::error_code virtualError = ListVirtualPorts(sysfsRoot, virtualPortDir, list);
    return kernelError ? kernelError : virtualError;
}
