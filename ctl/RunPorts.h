#pragma once

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <system_error>
#include <vector>

#include "serial/UsbPortInfo.h"

namespace tarnel::ctl {

// tarnelctl ports: one result per port, in the order of the COM port dialog,
// with what the system knows of USB adapters. Returns the exit status: 0, or 1
// when a source of the port list could not be read (the ports of the other
// are still printed, and the reason goes to `err`).
int RunPorts(bool json, std::ostream& out, std::ostream& err);

// Where the port list and the adapters' details come from.
struct PortSources {
    std::function<std::error_code(std::vector<std::string>&)> list;
    std::function<std::optional<UsbPortInfo>(const std::string&)> usbInfo;
};
// The same from other sources than the system's.
int RunPorts(bool json, std::ostream& out, std::ostream& err, const PortSources& sources);

}  // namespace tarnel::ctl
