#pragma once

#include <string>
#include <system_error>

namespace tarnel::ctl {

// What to tell the user when `port` could not be opened with `error` (the
// code CSerialportMP::Open returned): the configurator's words, the port and
// the system's reason, then OpenErrorAdvice.
std::string OpenErrorMessage(const std::string& port, std::error_code error);

}  // namespace tarnel::ctl
