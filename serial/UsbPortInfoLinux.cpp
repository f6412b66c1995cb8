#include "serial/UsbPortInfoLinux.h"

#include <fstream>
#include <set>

namespace fs = std::filesystem;

namespace {

std::string ReadAttribute(const fs::path& dir, const char* name) {
    std::ifstream in(dir / name);
    std::string line;
    std::getline(in, line);
    return line;
}

// The USB device is the nearest ancestor of the port's device that carries a
// vendor id: above the usb-serial port (ttyUSB) or the interface (ttyACM).
std::optional<fs::path> UsbDeviceDir(const fs::path& sysfsRoot, const std::string& name) {
    std::error_code error;
    fs::path dir = fs::canonical(sysfsRoot / "class" / "tty" / name / "device", error);
    if (error) return std::nullopt;
    const fs::path root = fs::canonical(sysfsRoot, error);
    for (; !error && dir != root && dir.has_relative_path(); dir = dir.parent_path())
        if (fs::exists(dir / "idVendor", error)) return dir;
    return std::nullopt;
}

// udev's by-id links point at ../../NAME.
std::string ByIdPath(const fs::path& byIdDir, const std::string& name) {
    std::set<std::string> links;
    std::error_code error;
    fs::directory_iterator it(byIdDir, error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        std::error_code linkError;
        const fs::path target = fs::read_symlink(it->path(), linkError);
        if (!linkError && target.filename() == name) links.insert(it->path().string());
    }
    return links.empty() ? std::string() : *links.begin();
}

}  // namespace

std::optional<UsbPortInfo> ReadUsbPortInfo(const std::string& port) {
    return ReadSysfsUsbPortInfo(port, "/sys", "/dev/serial/by-id");
}

std::optional<UsbPortInfo> ReadSysfsUsbPortInfo(const std::string& port, const fs::path& sysfsRoot,
                                                const fs::path& byIdDir) {
    const fs::path path(port);
    if (path.parent_path() != "/dev") return std::nullopt;
    const std::string name = path.filename().string();
    const auto device = UsbDeviceDir(sysfsRoot, name);
    if (!device) return std::nullopt;
    return UsbPortInfo{ReadAttribute(*device, "idVendor"),     ReadAttribute(*device, "idProduct"),
                       ReadAttribute(*device, "manufacturer"), ReadAttribute(*device, "product"),
                       ReadAttribute(*device, "serial"),       ByIdPath(byIdDir, name)};
}
