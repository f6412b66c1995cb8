#include "ctl/PortIdentity.h"

namespace tarnel::ctl {

std::string PortIdentity(const std::string& port) {
    return port;
}

}  // namespace tarnel::ctl
