#include "ctl/ParseUnsigned.h"

#include <charconv>

namespace tarnel::ctl {

bool ParseUnsigned(std::string_view text, uint64_t max, uint64_t& value) {
    if (text.empty() || text.front() < '0' || text.front() > '9') return false;
    uint64_t read = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), read);
    if (error != std::errc{} || end != text.data() + text.size() || read > max) return false;
    value = read;
    return true;
}

}  // namespace tarnel::ctl
