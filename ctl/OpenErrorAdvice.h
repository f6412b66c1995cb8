#pragma once

#include <string>
#include <system_error>

namespace tarnel::ctl {

// What the user can do when `port` could not be opened with `error`, as a
// sentence with a leading space, or nothing. On Linux a permission refusal
// names the group that owns the device and how to join it (or that a recent
// joining is not in effect yet); on Windows a refused COM port is one that
// another program has open.
std::string OpenErrorAdvice(const std::string& port, std::error_code error);

}  // namespace tarnel::ctl
