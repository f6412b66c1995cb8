#pragma once

#include <system_error>

// Why an opening refused a port that is not this program's to write, before
// anything was written or set on it. Each compares equal to the std::errc
// value a caller that does not know these reasons would expect.
enum class PortRefusal {
    // A virtual port's link whose terminal now belongs to someone else
    // (std::errc::no_such_device: the port it stood for is gone).
    StaleLink = 1,
    // The active kernel console (std::errc::operation_not_permitted).
    SystemConsole,
    // The name led to another device between the checks and the opening
    // (std::errc::no_such_device).
    ChangedWhileOpening,
};

std::error_code make_error_code(PortRefusal refusal);

template <>
struct std::is_error_code_enum<PortRefusal> : std::true_type {};
