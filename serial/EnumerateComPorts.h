#pragma once

#include <string>
#include <system_error>
#include <vector>

#include "serial/PortName.h"

// Lists the serial ports the system knows now, by the names CSerialportMP
// opens, in the system's own form, without duplicates (the first occurrence stays). `ports` is emptied
// first. Returns the empty code on success, also when there is no port at
// all; on an error, what could be read is still listed. Each platform has its
// own source: sysfs and the virtual port directory on Linux, the registry's
// serial device table on Windows.
std::error_code EnumerateComPorts(std::vector<PortName>& ports);
