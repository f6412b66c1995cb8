#pragma once

#include <string>
#include <string_view>

namespace tarnel::ctl {

// The SHA-256 of `bytes` as 64 lowercase hexadecimal digits, as sha256sum
// prints it; each platform asks its own library (OpenSSL's libcrypto on
// Linux, CNG on Windows). Empty when the library fails.
std::string Sha256Hex(std::string_view bytes);

}  // namespace tarnel::ctl
