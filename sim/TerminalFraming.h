#pragma once

#include <termios.h>

#include "sim/UartSettings.h"

namespace tarnel::sim {

// The framing that terminal settings ask for. A pseudo-terminal clears PARENB
// whatever its user sets, so parity also counts as on when input parity
// checking is on and parity errors are not ignored (INPCK without IGNPAR),
// which is how a serial library asks for parity; PARODD survives and tells odd
// from even. A speed without a standard number reads as baud 0.
LineSettings FramingOf(const termios& tio);

// Puts `line` into `tio` the same way (speed, PARENB/PARODD with INPCK or
// IGNPAR, CSTOPB). A baud rate without a standard speed leaves the speed.
void SetFraming(termios& tio, const LineSettings& line);

}  // namespace tarnel::sim
