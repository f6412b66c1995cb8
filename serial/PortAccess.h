#pragma once

#include <asio/serial_port.hpp>

#include <functional>
#include <system_error>

// The operating system's part of holding a port, around asio's open and
// close; each platform has its own file.

// Called right after asio opened `port`: makes sure no other program can open
// it while this one has it, and discards whatever is pending in both
// directions. On an error the port is closed again and the error returned, in
// the system category; a port held by another opener gives that system's
// busy error.
std::error_code ClaimPort(asio::serial_port& port);

// Undoes what ClaimPort left on the device beyond this handle, then closes it.
void ReleasePort(asio::serial_port& port, std::error_code& error);

// Reads the open port's settings (termios on Linux, the DCB on Windows), lets
// `change` alter them and writes them back in one call, so that a driver that
// keeps only part of a setting (a pseudo-terminal drops the parity enable
// bit, and refuses a write that asks for nothing else) gets every change at
// once. The system's error, or the one `change` returns.
// asio's option storage; asio's own name for it is gone after its header.
#ifdef _WIN32
using PortOptionStorage = DCB;
#else
using PortOptionStorage = termios;
#endif
using SettingsChange = std::function<std::error_code(PortOptionStorage&)>;
std::error_code ChangeSettings(asio::serial_port& port, const SettingsChange& change);
