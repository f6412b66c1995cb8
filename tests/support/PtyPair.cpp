#include "tests/support/PtyPair.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <stdexcept>
#include <system_error>

#include "tests/support/WaitUntil.h"

namespace tarnel::test {

namespace {

[[noreturn]] void ThrowErrno(const char* what) {
    throw std::system_error(errno, std::system_category(), what);
}

}  // namespace

PtyPair::PtyPair() {
    m_master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (m_master < 0) ThrowErrno("posix_openpt");
    if (grantpt(m_master) != 0 || unlockpt(m_master) != 0) ThrowErrno("grantpt");
    const char* name = ptsname(m_master);
    if (name == nullptr) ThrowErrno("ptsname");
    m_slavePath = name;
    termios tio{};
    if (tcgetattr(m_master, &tio) == 0) {
        cfmakeraw(&tio);
        tcsetattr(m_master, TCSANOW, &tio);
    }
}

PtyPair::~PtyPair() {
    if (m_heldSlave >= 0) close(m_heldSlave);
    if (m_master >= 0) close(m_master);
}

bool PtyPair::RenewAfter(const std::string& link) const {
    struct stat linkInfo {};
    if (lstat(link.c_str(), &linkInfo) != 0) return false;
    const auto newer = [&linkInfo](const timespec& t) {
        const timespec& l = linkInfo.st_ctim;
        return t.tv_sec != l.tv_sec ? t.tv_sec > l.tv_sec : t.tv_nsec > l.tv_nsec;
    };
    return WaitUntil(
        [&] {
            struct stat slave {};
            return stat(m_slavePath.c_str(), &slave) == 0 &&
                   chmod(m_slavePath.c_str(), slave.st_mode & 07777) == 0 &&
                   stat(m_slavePath.c_str(), &slave) == 0 && newer(slave.st_ctim);
        },
        std::chrono::seconds(5));
}

void PtyPair::HoldSlave() {
    if (m_heldSlave < 0) m_heldSlave = open(m_slavePath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
}

void PtyPair::Send(const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = write(m_master, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
        } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
            ThrowErrno("write to pty master");
        } else {
            pollfd p{m_master, POLLOUT, 0};
            poll(&p, 1, 100);
        }
    }
}

void PtyPair::Send(const std::vector<uint8_t>& bytes) {
    Send(std::string(bytes.begin(), bytes.end()));
}

std::string PtyPair::ReceiveWhile(const std::function<bool(const std::string&)>& wanting,
                                  std::chrono::milliseconds timeout) {
    std::string got;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    char buf[4096];
    while (wanting(got)) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline -
                                                                          std::chrono::steady_clock::now());
        if (left.count() <= 0) break;
        pollfd p{m_master, POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(left.count())) <= 0) continue;
        ssize_t n = read(m_master, buf, sizeof buf);
        if (n > 0)
            got.append(buf, static_cast<std::size_t>(n));
        else if (n == 0 || (errno != EAGAIN && errno != EINTR))
            break;
    }
    return got;
}

std::string PtyPair::Receive(std::size_t count, std::chrono::milliseconds timeout) {
    return ReceiveWhile([count](const std::string& got) { return got.size() < count; }, timeout);
}

std::string PtyPair::ReceiveUntil(const std::string& needle, std::chrono::milliseconds timeout) {
    return ReceiveWhile([&needle](const std::string& got) { return got.find(needle) == std::string::npos; },
                        timeout);
}

std::string PtyPair::ReceiveIdle(std::chrono::milliseconds quiet) {
    std::string got;
    char buf[4096];
    for (;;) {
        pollfd p{m_master, POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(quiet.count())) <= 0) break;
        ssize_t n = read(m_master, buf, sizeof buf);
        if (n > 0)
            got.append(buf, static_cast<std::size_t>(n));
        else if (n < 0 && (errno == EAGAIN || errno == EINTR))
            continue;
        else
            break;
    }
    return got;
}

void PtyPair::Unplug() {
    if (m_master >= 0) {
        close(m_master);
        m_master = -1;
    }
}

}  // namespace tarnel::test
