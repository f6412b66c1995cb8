#pragma once

#include <filesystem>
#include <optional>
#include <string>

// What the system knows of the USB device behind a serial port, so that two
// adapters can be told apart. A field the device does not report is empty.
struct UsbPortInfo {
    std::string vendorId;      // four hexadecimal digits, as lsusb shows them
    std::string productId;     // four hexadecimal digits
    std::string manufacturer;  // the vendor's name, as the device reports it
    std::string product;
    std::string serialNumber;
    // The stable name udev gives the port, /dev/serial/by-id/...; when there
    // are several, the first in name order.
    std::string byIdPath;
};

// Looks up `port` (a device path as EnumerateComPorts lists it, /dev/NAME)
// under sysfs: the USB device that its class/tty/NAME/device entry belongs
// to. No value for a port that is not a USB device (a built-in UART, a
// virtual port) or not known to sysfs.
std::optional<UsbPortInfo> ReadUsbPortInfo(const std::string& port);

// The same with the sysfs root (normally /sys) and the by-id directory
// (normally /dev/serial/by-id) given, so that both can be replaced.
std::optional<UsbPortInfo> ReadUsbPortInfo(const std::string& port, const std::filesystem::path& sysfsRoot,
                                           const std::filesystem::path& byIdDir);
