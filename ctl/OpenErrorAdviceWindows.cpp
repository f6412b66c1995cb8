#include "ctl/OpenErrorAdvice.h"

namespace tarnel::ctl {

std::string OpenErrorAdvice(const std::string& /*port*/, std::error_code error) {
    // Windows gives every user every COM port; ERROR_ACCESS_DENIED means
    // another program holds it, since a COM port serves one at a time.
    if (error != std::errc::permission_denied) return {};
    return " Another program has the port open (a terminal, another configurator): close it there, then try "
           "again.";
}

}  // namespace tarnel::ctl
