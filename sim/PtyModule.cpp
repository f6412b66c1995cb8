#include "sim/PtyModule.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>

#include "sim/TerminalFraming.h"
#include "sim/VirtualPortLink.h"

namespace tarnel::sim {

namespace {

// Longest sleep of the serving thread: it bounds how late a change of the
// host's terminal settings is seen while nothing else happens.
constexpr int kIdlePollMs = 20;

std::error_code LastError() {
    return {errno, std::system_category()};
}

void CloseFd(int& fd) {
    if (fd >= 0) close(fd);
    fd = -1;
}

}  // namespace

PtyModule::PtyModule(SimConfig config) : m_model(std::move(config), ModuleModel::Clock::now()) {}

PtyModule::~PtyModule() {
    Stop();
}

std::error_code PtyModule::Start() {
    std::lock_guard lock(m_mutex);
    if (m_thread.joinable()) return {};
    int master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (master < 0) return LastError();
    char name[128];
    termios tio{};
    int wake[2] = {-1, -1};
    if (grantpt(master) != 0 || unlockpt(master) != 0 || ptsname_r(master, name, sizeof name) != 0 ||
        tcgetattr(master, &tio) != 0) {
        const auto ec = LastError();
        close(master);
        return ec;
    }
    // The line starts on the module's framing, so a terminal program that
    // sets nothing can talk to it.
    cfmakeraw(&tio);
    SetFraming(tio, m_model.Snapshot().current.uart.line);
    if (tcsetattr(master, TCSANOW, &tio) != 0 || pipe2(wake, O_NONBLOCK | O_CLOEXEC) != 0) {
        const auto ec = LastError();
        close(master);
        return ec;
    }
    m_master = master;
    m_wakeRead = wake[0];
    m_wakeWrite = wake[1];
    m_slavePath = name;
    m_stop = false;
    m_serving = true;
    m_thread = std::thread([this] { Serve(); });
    return {};
}

std::string PtyModule::SlavePath() const {
    std::lock_guard lock(m_mutex);
    return m_slavePath;
}

std::error_code PtyModule::Publish(const std::string& name, std::filesystem::path& path) {
    std::lock_guard lock(m_mutex);
    if (m_master < 0) return std::make_error_code(std::errc::not_connected);
    if (!m_linkPath.empty()) RemovePortLink(m_linkPath, m_slavePath, m_linkLock);
    m_linkPath.clear();
    const auto ec = PublishPortLink(m_slavePath, name, m_linkPath, m_linkLock);
    path = m_linkPath;
    return ec;
}

void PtyModule::Unplug() {
    Stop();
}

void PtyModule::Stop() {
    m_stop = true;
    Wake();
    if (m_thread.joinable()) m_thread.join();
    std::lock_guard lock(m_mutex);
    Shut();
    CloseFd(m_wakeRead);
    CloseFd(m_wakeWrite);
}

bool PtyModule::Serving() const {
    return m_serving;
}

void PtyModule::ConnectPeer(const BdAddress& peer) {
    {
        std::lock_guard lock(m_mutex);
        m_model.ConnectPeer(peer, ModuleModel::Clock::now());
    }
    Wake();
}

std::string PtyModule::Received() const {
    std::lock_guard lock(m_mutex);
    return m_model.Received();
}

std::vector<std::string> PtyModule::Commands() const {
    std::lock_guard lock(m_mutex);
    return m_model.Commands();
}

ModuleSnapshot PtyModule::Snapshot() const {
    std::lock_guard lock(m_mutex);
    return m_model.Snapshot();
}

void PtyModule::Wake() {
    std::lock_guard lock(m_mutex);
    if (m_wakeWrite >= 0) {
        const char byte = 1;
        // A full pipe already wakes the thread; nothing is lost.
        [[maybe_unused]] auto n = write(m_wakeWrite, &byte, 1);
    }
}

void PtyModule::Serve() {
    bool slaveClosed = false;
    while (!m_stop) {
        int timeout = kIdlePollMs;
        {
            std::lock_guard lock(m_mutex);
            if (const auto wake = m_model.NextWake()) {
                const auto left =
                    std::chrono::ceil<std::chrono::milliseconds>(*wake - ModuleModel::Clock::now());
                timeout = static_cast<int>(std::clamp<long long>(left.count(), 0, kIdlePollMs));
            }
        }
        // Without a slave opener the master reports a hang-up at once; leaving
        // it out of one round keeps that from spinning.
        const short events = POLLIN | (m_pending.empty() ? 0 : POLLOUT);
        pollfd fds[2] = {{slaveClosed ? -1 : m_master, events, 0}, {m_wakeRead, POLLIN, 0}};
        poll(fds, 2, timeout);
        if ((fds[1].revents & POLLIN) != 0) {
            char drain[64];
            while (read(m_wakeRead, drain, sizeof drain) > 0) {
            }
        }
        slaveClosed = (fds[0].revents & POLLHUP) != 0;
        const std::string input = ReadInput(slaveClosed);
        if (!Pump(input)) {
            std::lock_guard lock(m_mutex);
            Shut();
            return;
        }
        // The hang-up the poll saw may be over: a host that opened the port
        // since, and whose command was just read, must get its answer.
        if (slaveClosed) slaveClosed = SlaveClosed();
        // Nobody has the port open: like a module talking to an unplugged
        // cable, its output is lost rather than left for the next opener.
        if (slaveClosed)
            m_pending.clear();
        else
            WritePending();
    }
}

std::string PtyModule::ReadInput(bool& slaveClosed) {
    std::string input;
    char buf[4096];
    for (;;) {
        const ssize_t n = read(m_master, buf, sizeof buf);
        if (n > 0) {
            input.append(buf, static_cast<std::size_t>(n));
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno == EIO) slaveClosed = true;
        return input;
    }
}

bool PtyModule::SlaveClosed() const {
    pollfd fd{m_master, 0, 0};
    return poll(&fd, 1, 0) == 1 && (fd.revents & POLLHUP) != 0;
}

bool PtyModule::Pump(const std::string& input) {
    std::lock_guard lock(m_mutex);
    const auto now = ModuleModel::Clock::now();
    termios tio{};
    // On a pseudo-terminal the master shares the slave's settings: this is
    // the framing the host asked for.
    if (tcgetattr(m_master, &tio) == 0) m_model.SetHostLine(FramingOf(tio));
    if (!input.empty()) m_model.Receive(input, now);
    m_pending += m_model.TakeOutput(now);
    return !m_model.HungUp();
}

void PtyModule::WritePending() {
    while (!m_pending.empty()) {
        const ssize_t n = write(m_master, m_pending.data(), m_pending.size());
        if (n > 0) {
            m_pending.erase(0, static_cast<std::size_t>(n));
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            return;  // full: POLLOUT says when to go on
        }
    }
}

void PtyModule::Shut() {
    m_serving = false;
    CloseFd(m_master);
    if (!m_linkPath.empty()) RemovePortLink(m_linkPath, m_slavePath, m_linkLock);
    m_linkPath.clear();
}

}  // namespace tarnel::sim
