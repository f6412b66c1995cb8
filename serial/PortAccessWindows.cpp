#include "serial/PortAccess.h"

#include <windows.h>

std::error_code ClaimPort(asio::serial_port& port) {
    // A COM port is exclusive by itself: a second CreateFile fails with
    // ERROR_ACCESS_DENIED inside asio's open. What the device sent before, or
    // an earlier user left unsent, is stale; a port that cannot purge is
    // still usable.
    PurgeComm(port.native_handle(), PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR);
    return {};
}

void ReleasePort(asio::serial_port& port, std::error_code& error) {
    port.close(error);
}
