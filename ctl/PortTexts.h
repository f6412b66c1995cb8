#pragma once

#include <string>
#include <system_error>
#include <vector>

namespace tarnel::ctl {

// The system's port list (EnumerateComPorts, with its result) in the form
// tarnelctl takes and shows a port's name: UTF-8 text, as its arguments come
// and its output goes.
std::error_code EnumeratePortTexts(std::vector<std::string>& ports);

}  // namespace tarnel::ctl
