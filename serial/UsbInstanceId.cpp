#include "serial/UsbInstanceId.h"

#include <algorithm>
#include <cctype>

namespace {

// Ids are matched in capitals; ids are shown in small letters, as lsusb does.
std::string CaseMapped(std::string text, bool upper) {
    std::transform(text.begin(), text.end(), text.begin(), [upper](unsigned char c) {
        return static_cast<char>(upper ? std::toupper(c) : std::tolower(c));
    });
    return text;
}

// The four hexadecimal digits after `key`, or nothing.
std::string FourHexDigitsAfter(const std::string& id, const char* key) {
    const std::size_t at = id.find(key);
    if (at == std::string::npos) return {};
    const std::string digits = id.substr(at + std::char_traits<char>::length(key), 4);
    const bool hex = digits.size() == 4 && std::all_of(digits.begin(), digits.end(),
                                                       [](unsigned char c) { return std::isxdigit(c) != 0; });
    return hex ? CaseMapped(digits, false) : std::string();
}

std::string SerialOfUsbId(const std::string& id) {
    const std::size_t last = id.rfind('\\');
    const std::string device = id.substr(0, last);
    if (device.find("&MI_") != std::string::npos) return {};
    const std::string tail = id.substr(last + 1);
    return tail.find('&') == std::string::npos ? tail : std::string();
}

// The device part is VID_xxxx+PID_xxxx+SERIAL followed by the channel letter.
std::string SerialOfFtdiBusId(const std::string& id) {
    const std::size_t first = id.find('\\');
    const std::string device = id.substr(first + 1, id.rfind('\\') - first - 1);
    if (std::count(device.begin(), device.end(), '+') != 2) return {};
    const std::string serial = device.substr(device.rfind('+') + 1);
    return serial.size() < 2 ? std::string() : serial.substr(0, serial.size() - 1);
}

}  // namespace

std::optional<UsbPortInfo> ParseUsbInstanceId(const std::string& id) {
    const std::string upper = CaseMapped(id, true);
    const bool usb = upper.rfind("USB\\", 0) == 0;
    const bool ftdiBus = upper.rfind("FTDIBUS\\", 0) == 0;
    if ((!usb && !ftdiBus) || std::count(id.begin(), id.end(), '\\') != 2) return std::nullopt;
    UsbPortInfo info;
    info.vendorId = FourHexDigitsAfter(upper, "VID_");
    info.productId = FourHexDigitsAfter(upper, "PID_");
    if (info.vendorId.empty() || info.productId.empty()) return std::nullopt;
    info.serialNumber = usb ? SerialOfUsbId(id) : SerialOfFtdiBusId(id);
    return info;
}
