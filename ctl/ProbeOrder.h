#pragma once

#include <vector>

#include "ctl/LineSettings.h"

namespace tarnel::ctl {

// Every framing the program offers, each once, most likely first: the
// module's factory 9600,N,1, then 115200,N,1, then the other baud rates
// (ascending) with N,1, then the rest by baud rate, parity (N, E, O) and stop
// bits, so that the common no-parity one-stop-bit settings are tried early.
std::vector<LineSettings> ProbeOrder();

}  // namespace tarnel::ctl
