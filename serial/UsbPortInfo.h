#pragma once

#include <optional>
#include <string>

// What the system knows of the USB device behind a serial port, so that two
// adapters can be told apart. A field the device does not report is empty.
struct UsbPortInfo {
    std::string vendorId;      // four hexadecimal digits, as lsusb shows them
    std::string productId;     // four hexadecimal digits
    std::string manufacturer;  // the vendor's name: the device's on Linux, its driver's on Windows
    std::string product;       // as the device reports it
    std::string serialNumber;
    // Linux only: the stable name udev gives the port, /dev/serial/by-id/...;
    // when there are several, the first in name order.
    std::string byIdPath;
};

// What the system tells of the USB device behind `port` (a name as
// EnumerateComPorts lists it, in UTF-8). No value for a port that is not a USB device
// (a built-in UART, a virtual port) or that the system does not know. Each
// platform has its own source: sysfs on Linux, the Plug and Play device
// properties on Windows.
std::optional<UsbPortInfo> ReadUsbPortInfo(const std::string& port);
