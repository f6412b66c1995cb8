#include "ctl/OpenLine.h"

namespace tarnel::ctl {

std::error_code OpenLine(TarnelComm& comm, const std::string& port, const LineSettings& line) {
    return comm.Open(port, line.baud, 8, ParityFromLetter(line.parity), StopBitsFromCount(line.stopBits),
                     FLOW_NONE);
}

}  // namespace tarnel::ctl
