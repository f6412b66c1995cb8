#pragma once

#include <string>

namespace tarnel::ctl {

// What `port` is wherever and whenever it is plugged in, so that a port
// known once is known again under another name or after a replug: the
// stable by-id path of a USB adapter, else its USB ids and serial number;
// for anything else (a virtual port's link, a built-in UART) the name.
std::string StablePortIdentity(const std::string& port);

}  // namespace tarnel::ctl
