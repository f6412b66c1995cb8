#include "serial/PortAccessLinux.h"

#include "serial/PortAccess.h"
#include "serial/PortRefusalLinux.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>

namespace {

std::error_code SystemError(int value) {
    return {value, std::system_category()};
}

// The checks that need the terminal itself, and the claim on it.
std::error_code ClaimDescriptor(int fd, const struct stat& checked) {
    struct stat opened {};
    if (fstat(fd, &opened) != 0) return SystemError(errno);
    // A pseudo-terminal made anew under a freed number has the same inode
    // number; only its change time tells it apart. An open of a dying one can
    // wait in the kernel until another program's new terminal has taken that
    // number, and would then hand over a port that is not the module's.
    if (opened.st_dev != checked.st_dev || opened.st_ino != checked.st_ino ||
        opened.st_ctim.tv_sec != checked.st_ctim.tv_sec || opened.st_ctim.tv_nsec != checked.st_ctim.tv_nsec)
        return PortRefusal::ChangedWhileOpening;
    if (isatty(fd) == 0) return SystemError(errno);
    int exclusive = 0;
    if (ioctl(fd, TIOCGEXCL, &exclusive) != 0) return SystemError(errno);
    if (exclusive != 0) return SystemError(EBUSY);
    // The lock holds against every opener that locks too, root included. A
    // lock that would block means another opener has the port.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) return SystemError(errno == EWOULDBLOCK ? EBUSY : errno);
    if (ioctl(fd, TIOCEXCL) != 0) return SystemError(errno);
    return {};
}

// The settings asio's own open gives a port, which the channel's settings
// then refine.
std::error_code MakeRaw(termios& tio) {
    cfmakeraw(&tio);
    tio.c_iflag |= IGNPAR;
    tio.c_cflag |= CREAD | CLOCAL;
    return {};
}

std::error_code AdoptDescriptor(asio::serial_port& port, int fd) {
    std::error_code error;
    port.assign(fd, error);
    if (error) {
        close(fd);
        return error;
    }
    if ((error = ChangeSettings(port, MakeRaw))) {
        std::error_code ignored;
        ReleasePort(port, ignored);
        return error;
    }
    // Whatever the device sent before, or an earlier user left unsent, is
    // stale; a port that cannot flush is still usable.
    tcflush(fd, TCIOFLUSH);
    return {};
}

}  // namespace

std::error_code OpenCheckedPort(asio::serial_port& port, const std::string& name,
                                const PortSystemPaths& paths) {
    struct stat checked {};
    if (const std::error_code error = CheckPortClaims(name, paths, checked)) return error;
    // The descriptor is held to the device the checks saw, so a name that
    // changed in between cannot slip another terminal past them.
    const int fd = open(name.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return SystemError(errno);
    if (const std::error_code error = ClaimDescriptor(fd, checked)) {
        close(fd);
        return error;
    }
    return AdoptDescriptor(port, fd);
}

std::error_code OpenPort(asio::serial_port& port, const PortName& name) {
    return OpenCheckedPort(port, name.Native(), PortSystemPaths{});
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
