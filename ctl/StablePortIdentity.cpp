#include "ctl/StablePortIdentity.h"

#include "serial/UsbPortInfo.h"

namespace tarnel::ctl {

std::string StablePortIdentity(const std::string& port) {
    const std::optional<UsbPortInfo> usb = ReadUsbPortInfo(port);
    if (!usb) return port;
    if (!usb->byIdPath.empty()) return usb->byIdPath;
    if (!usb->serialNumber.empty())
        return "usb:" + usb->vendorId + ":" + usb->productId + ":" + usb->serialNumber;
    return port;
}

}  // namespace tarnel::ctl
