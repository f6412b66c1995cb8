#pragma once

#include <string>

namespace tarnel::ctl {

// Windows only: a UTF-8 path or name as the system's wide calls take it.
std::wstring Utf8ToWide(const std::string& utf8);

}  // namespace tarnel::ctl
