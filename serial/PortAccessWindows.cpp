#include "serial/PortAccess.h"

#include <windows.h>

namespace {

std::error_code LastError() {
    return {static_cast<int>(GetLastError()), std::system_category()};
}

// The state asio's own open leaves a port in, which the channel's settings
// then refine: binary, nothing dropped or aborted on, no flow control, and a
// read that returns with what has come once at least one byte has.
std::error_code PrepareHandle(HANDLE handle) {
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(handle, &dcb)) return LastError();
    dcb.fBinary = TRUE;
    dcb.fNull = FALSE;
    dcb.fAbortOnError = FALSE;
    dcb.BaudRate = CBR_9600;
    dcb.ByteSize = 8;
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDtrControl = DTR_CONTROL_DISABLE;
    dcb.fDsrSensitivity = FALSE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fRtsControl = RTS_CONTROL_DISABLE;
    dcb.fParity = FALSE;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    if (!SetCommState(handle, &dcb)) return LastError();
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = 1;
    if (!SetCommTimeouts(handle, &timeouts)) return LastError();
    return {};
}

}  // namespace

std::error_code OpenPort(asio::serial_port& port, const PortName& name) {
    // asio's open takes a narrow name, which the code page would turn into
    // '?' where it lacks a character; the wide call takes every name. Like
    // asio, a name that is not already a path is looked up in the device
    // namespace, where COM ports past COM9 are too.
    const std::wstring& native = name.Native();
    const std::wstring path = native.starts_with(L'\\') ? native : L"\\\\.\\" + native;
    // A COM port is exclusive by itself: a second opener gets
    // ERROR_ACCESS_DENIED.
    const HANDLE handle = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_OVERLAPPED, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return LastError();
    std::error_code error = PrepareHandle(handle);
    if (!error) port.assign(handle, error);
    if (error) {
        CloseHandle(handle);
        return error;
    }
    // What the device sent before, or an earlier user left unsent, is stale;
    // a port that cannot purge is still usable.
    PurgeComm(handle, PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR);
    return {};
}

void ReleasePort(asio::serial_port& port, std::error_code& error) {
    port.close(error);
}

std::error_code ChangeSettings(asio::serial_port& port, const SettingsChange& change) {
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(port.native_handle(), &dcb)) return LastError();
    if (const std::error_code error = change(dcb)) return error;
    if (!SetCommState(port.native_handle(), &dcb)) return LastError();
    return {};
}
