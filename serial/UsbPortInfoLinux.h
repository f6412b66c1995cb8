#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "serial/UsbPortInfo.h"

// Looks up `port` (a device path as EnumerateComPorts lists it, /dev/NAME)
// under sysfs: the USB device that its class/tty/NAME/device entry belongs
// to. No value for a port that is not a USB device or not known to sysfs.
// ReadUsbPortInfo on Linux is this with /sys and /dev/serial/by-id.
std::optional<UsbPortInfo> ReadSysfsUsbPortInfo(const std::string& port,
                                                const std::filesystem::path& sysfsRoot,
                                                const std::filesystem::path& byIdDir);
