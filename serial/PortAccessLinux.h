#pragma once

#include "serial/PortClaimsLinux.h"

#include <asio/serial_port.hpp>

#include <string>
#include <system_error>

// OpenPort with the places of the system's claims given. First the checks by
// name (CheckPortClaims); then the terminal is opened without becoming the
// controlling terminal and without waiting for a carrier, and refused when it
// is not the device those checks saw (nor one made anew under its number), is
// in exclusive mode (root passes TIOCEXCL, so the opening proves nothing) or
// is locked with flock. Only then is it claimed (flock, TIOCEXCL), put in raw
// mode and flushed.
std::error_code OpenCheckedPort(asio::serial_port& port, const std::string& name,
                                const PortSystemPaths& paths);
