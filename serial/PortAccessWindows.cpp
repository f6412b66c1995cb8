#include "serial/PortAccess.h"

#include <windows.h>

std::error_code OpenPort(asio::serial_port& port, const std::string& name) {
    // A COM port is exclusive by itself: a second CreateFile fails with
    // ERROR_ACCESS_DENIED inside asio's open.
    std::error_code error;
    port.open(name, error);
    if (error) return error;
    // What the device sent before, or an earlier user left unsent, is stale;
    // a port that cannot purge is still usable.
    PurgeComm(port.native_handle(), PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR);
    return {};
}

void ReleasePort(asio::serial_port& port, std::error_code& error) {
    port.close(error);
}

std::error_code ChangeSettings(asio::serial_port& port, const SettingsChange& change) {
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(port.native_handle(), &dcb))
        return {static_cast<int>(GetLastError()), std::system_category()};
    if (const std::error_code error = change(dcb)) return error;
    if (!SetCommState(port.native_handle(), &dcb))
        return {static_cast<int>(GetLastError()), std::system_category()};
    return {};
}
