// Preloaded into GTKTerm by terminal_flood.sh. GTKTerm polls the modem lines
// of its port and closes a port that answers with anything but EINVAL, the
// answer of a serial port without such lines; a pseudo-terminal answers
// ENOTTY. This turns that answer into EINVAL and changes nothing else.

#include <dlfcn.h>
#include <sys/ioctl.h>

#include <cerrno>
#include <cstdarg>

extern "C" int ioctl(int fd, unsigned long request, ...) noexcept {
    std::va_list arguments;
    va_start(arguments, request);
    void* argument = va_arg(arguments, void*);
    va_end(arguments);
    using Ioctl = int (*)(int, unsigned long, ...);
    static const Ioctl next = reinterpret_cast<Ioctl>(dlsym(RTLD_NEXT, "ioctl"));
    const int result = next(fd, request, argument);
    if (result == -1 && request == TIOCMGET && errno == ENOTTY) errno = EINVAL;
    return result;
}
