#pragma once

#include <optional>
#include <string>

#include "serial/UsbPortInfo.h"

// What a Windows device instance id tells of a USB serial port: the vendor
// and product ids, and the serial number where the id carries the device's
// own. "USB\VID_0403&PID_6001\A50285BI" has it; an id that Windows made up
// for a device without one has '&' in its last part ("...\5&2A3B&0&2"), and a
// composite device's interface ("...&MI_00\...") has its parent's. FTDI's
// own driver names its ports "FTDIBUS\VID_0403+PID_6001+A50285BIA\0000", the
// serial number followed by the channel letter. No value for an id that is
// not of a USB device. The other fields stay empty.
std::optional<UsbPortInfo> ParseUsbInstanceId(const std::string& id);
