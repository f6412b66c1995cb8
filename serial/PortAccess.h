#pragma once

#include <asio/serial_port.hpp>

#include "serial/PortName.h"

#include <functional>
#include <string>
#include <system_error>

// The operating system's part of holding a port, around asio's open and
// close; each platform has its own file.

// Opens `name` the platform's own way (its bytes on Linux, CreateFileW on
// Windows) for this program alone and discards whatever is pending in
// both directions. On Linux nothing is set on or written to the terminal
// before the checks that it is no other program's have passed (see
// PortClaimsLinux.h and OpenCheckedPort). The empty code, or the error, mostly in
// the system category, with the port left closed; a port held by another
// program compares equal to std::errc::device_or_resource_busy on Linux and
// gives ERROR_ACCESS_DENIED on Windows.
std::error_code OpenPort(asio::serial_port& port, const PortName& name);

// Undoes what OpenPort left on the device beyond this handle, then closes it.
void ReleasePort(asio::serial_port& port, std::error_code& error);

// Reads the open port's settings (termios on Linux, the DCB on Windows), lets
// `change` alter them and writes them back in one call, so that a driver that
// keeps only part of a setting (a pseudo-terminal drops the parity enable
// bit, and refuses a write that asks for nothing else) gets every change at
// once. The system's error, or the one `change` returns.
// asio's option storage (the platform's own record); asio's name for it is
// gone after its header, so it is read off what an option stores into.
template <typename Store>
struct StoredInto;
template <typename Result, typename Option, typename Storage>
struct StoredInto<Result (Option::*)(Storage&, std::error_code&) const> {
    using type = Storage;
};
using PortOptionStorage = StoredInto<decltype(&asio::serial_port_base::baud_rate::store)>::type;
using SettingsChange = std::function<std::error_code(PortOptionStorage&)>;
std::error_code ChangeSettings(asio::serial_port& port, const SettingsChange& change);
