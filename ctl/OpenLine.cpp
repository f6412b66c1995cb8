#include "ctl/OpenLine.h"

namespace tarnel::ctl {

std::error_code OpenLine(TarnelComm& comm, const std::string& port, const LineSettings& line) {
    // tarnelctl's names are UTF-8 text; the channel takes the system's form.
    return comm.Open(PortName(port), line.baud, 8, ParityFromLetter(line.parity),
                     StopBitsFromCount(line.stopBits), FLOW_NONE);
}

}  // namespace tarnel::ctl
