#include "serial/PortAccess.h"

#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>

std::error_code ClaimPort(asio::serial_port& port) {
    const int fd = port.native_handle();
    std::error_code error;
    // TIOCEXCL keeps other users out, but root ignores it; the lock holds
    // against every opener that locks too, root included. A lock that would
    // block means another opener has the port.
    if (isatty(fd) == 0 || flock(fd, LOCK_EX | LOCK_NB) != 0 || ioctl(fd, TIOCEXCL) != 0)
        error = std::error_code(errno == EWOULDBLOCK ? EBUSY : errno, std::system_category());
    if (error) {
        std::error_code ignored;
        port.close(ignored);
        return error;
    }
    // Whatever the device sent before, or an earlier user left unsent, is
    // stale; a port that cannot flush is still usable.
    tcflush(fd, TCIOFLUSH);
    return {};
}

void ReleasePort(asio::serial_port& port, std::error_code& error) {
    const int fd = port.native_handle();
    // The exclusive flag stays on the terminal while anyone else holds it open
    // (a pseudo-terminal's peer), which would lock this program out next time.
    ioctl(fd, TIOCNXCL);
    // A serial driver's close waits until its output has drained, up to half
    // a minute, on the thread that closes: a line held by flow control or a
    // device that stopped taking bytes would stall the window. What is still
    // unsent is given up with the port, as a COM port's close does.
    tcflush(fd, TCIOFLUSH);
    port.close(error);
}

std::error_code ChangeSettings(asio::serial_port& port, const SettingsChange& change) {
    const int fd = port.native_handle();
    termios tio{};
    if (tcgetattr(fd, &tio) != 0) return {errno, std::system_category()};
    if (const std::error_code error = change(tio)) return error;
    if (tcsetattr(fd, TCSANOW, &tio) != 0) return {errno, std::system_category()};
    return {};
}
