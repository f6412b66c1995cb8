#pragma once

#include <asio/serial_port.hpp>

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
