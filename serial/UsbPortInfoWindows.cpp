#include "serial/UsbPortInfo.h"

std::optional<UsbPortInfo> ReadUsbPortInfo(const std::string& /*port*/) {
    return std::nullopt;
}
