#pragma once

#include <string>

namespace tarnel::ctl {

// What `port` stands for beyond its name, so that a name that comes to mean
// another device is told apart: on Linux the target of a symbolic link (a
// virtual port) and the device number it leads to; on Windows, where a COM
// name is all there is, the name. Empty for what cannot be read.
std::string PortIdentity(const std::string& port);

}  // namespace tarnel::ctl
