// The tarnel-sim executable as a user runs it: printed path, serving, signals.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "serial/EnumerateComPorts.h"
#include "tests/sim/ScopedRuntimeDir.h"
#include "tests/support/WaitUntil.h"

extern char** environ;

namespace tarnel::sim {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;
using tarnel::test::WaitUntil;

constexpr auto kDeadline = 10s;

// tarnel-sim in a child process, its stdout and stderr read through one pipe.
class SimProcess {
public:
    explicit SimProcess(std::vector<std::string> args) {
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0) return;
        m_output = fds[0];
        fcntl(m_output, F_SETFL, O_NONBLOCK);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDERR_FILENO);
        args.insert(args.begin(), TARNEL_SIM_PATH);
        std::vector<char*> argv;
        for (std::string& arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        if (posix_spawn(&m_pid, TARNEL_SIM_PATH, &actions, nullptr, argv.data(), environ) != 0) m_pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
    }
    ~SimProcess() {
        if (m_pid > 0 && !m_status) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
        if (m_output >= 0) close(m_output);
    }
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    bool Started() const { return m_pid > 0; }
    void Signal(int signal) const { kill(m_pid, signal); }

    // Everything printed so far.
    const std::string& Output() {
        char buf[512];
        for (ssize_t n; (n = read(m_output, buf, sizeof buf)) > 0;)
            m_text.append(buf, static_cast<std::size_t>(n));
        return m_text;
    }

    // The exit status once the process has ended, within the deadline.
    std::optional<int> Exit() {
        WaitUntil(
            [&] {
                int status = 0;
                if (waitpid(m_pid, &status, WNOHANG) == m_pid) m_status = status;
                return m_status.has_value();
            },
            kDeadline);
        Output();
        if (!m_status || !WIFEXITED(*m_status)) return std::nullopt;
        return WEXITSTATUS(*m_status);
    }

private:
    pid_t m_pid = -1;
    int m_output = -1;
    std::string m_text;
    std::optional<int> m_status;
};

std::string Exchange(const std::string& port, const std::string& command) {
    const int fd = open(port.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return "cannot open " + port;
    termios tio{};
    tcgetattr(fd, &tio);
    cfmakeraw(&tio);
    cfsetspeed(&tio, B9600);
    tcsetattr(fd, TCSANOW, &tio);
    std::string got;
    if (write(fd, command.data(), command.size()) == static_cast<ssize_t>(command.size())) {
        WaitUntil(
            [&] {
                pollfd p{fd, POLLIN, 0};
                char buf[256];
                if (poll(&p, 1, 10) > 0) {
                    const ssize_t n = read(fd, buf, sizeof buf);
                    if (n > 0) got.append(buf, static_cast<std::size_t>(n));
                }
                return got.ends_with("OK\r\n");
            },
            kDeadline);
    }
    close(fd);
    return got;
}

TEST(TarnelSim, PublishesServesAndRemovesItsLinkOnTermination) {
    for (int signal : {SIGTERM, SIGINT}) {
        test::ScopedRuntimeDir runtime;
        SimProcess sim({"--link", "e2e", "--name", "Demo"});
        ASSERT_TRUE(sim.Started());
        const fs::path link = runtime.PortDir() / "e2e";
        ASSERT_TRUE(WaitUntil(
            [&] { return sim.Output().find("module on " + link.string()) != std::string::npos; }, kDeadline))
            << sim.Output();
        EXPECT_TRUE(fs::is_symlink(link));

        EXPECT_EQ(Exchange(link, "AT+INFO1?\r"), "\r\n+INFO1,001A7DDA7113,Demo,0,IDLE\r\n\r\nOK\r\n");
        EXPECT_TRUE(
            WaitUntil([&] { return sim.Output().find("<- AT+INFO1?") != std::string::npos; }, kDeadline));

        sim.Signal(signal);
        EXPECT_EQ(sim.Exit(), 0) << sim.Output();
        EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
        EXPECT_NE(sim.Output().find("stopped"), std::string::npos) << sim.Output();
    }
}

TEST(TarnelSim, TakesTheNextNameWhenItsLinkIsTaken) {
    test::ScopedRuntimeDir runtime;
    fs::create_directories(runtime.PortDir());
    fs::create_symlink("/dev/null", runtime.PortDir() / "busy");
    SimProcess sim({"--link", "busy", "--no-log"});
    const fs::path link = runtime.PortDir() / "busy-2";
    EXPECT_TRUE(WaitUntil(
        [&] { return sim.Output().find("module on " + link.string()) != std::string::npos; }, kDeadline))
        << sim.Output();
    sim.Signal(SIGTERM);
    EXPECT_EQ(sim.Exit(), 0);
    EXPECT_EQ(fs::read_symlink(runtime.PortDir() / "busy"), "/dev/null");
}

bool Listed(const fs::path& link) {
    std::vector<PortName> ports;
    EnumerateComPorts(ports);
    return std::find(ports.begin(), ports.end(), PortName(link.string())) != ports.end();
}

// Opens pseudo-terminals until the system hands out `device` again; they stay
// open until the returned descriptors are closed.
std::vector<int> ReuseTerminal(const fs::path& device) {
    std::vector<int> fds;
    for (int i = 0; i < 64; ++i) {
        const int fd = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (fd < 0) break;
        fds.push_back(fd);
        if (grantpt(fd) == 0 && unlockpt(fd) == 0 && device == ptsname(fd)) return fds;
    }
    for (int fd : fds)
        close(fd);
    return {};
}

TEST(TarnelSim, ALinkLeftByAKilledSimulatorIsNotListedAndItsNameIsFreeAgain) {
    test::ScopedRuntimeDir runtime;
    const fs::path link = runtime.PortDir() / "killed";
    fs::path device;
    {
        SimProcess sim({"--link", "killed", "--no-log"});
        ASSERT_TRUE(WaitUntil(
            [&] { return sim.Output().find("module on " + link.string()) != std::string::npos; }, kDeadline))
            << sim.Output();
        device = fs::read_symlink(link);
        EXPECT_TRUE(Listed(link));
        sim.Signal(SIGKILL);
        sim.Exit();
    }
    ASSERT_TRUE(fs::is_symlink(link));
    const std::vector<int> held = ReuseTerminal(device);
    ASSERT_FALSE(held.empty()) << "no new pseudo-terminal got " << device;
    EXPECT_FALSE(Listed(link));

    SimProcess again({"--link", "killed", "--no-log"});
    EXPECT_TRUE(WaitUntil(
        [&] { return again.Output().find("module on " + link.string() + " ->") != std::string::npos; },
        kDeadline))
        << again.Output();
    EXPECT_TRUE(Listed(link));
    for (int fd : held)
        close(fd);
}

TEST(TarnelSim, BadFlagsFailWithAMessage) {
    SimProcess sim({"--opmode", "9"});
    EXPECT_EQ(sim.Exit(), 2);
    EXPECT_NE(sim.Output().find("tarnel-sim: --opmode '9': expected 0 to 3"), std::string::npos)
        << sim.Output();
    EXPECT_NE(sim.Output().find("--help"), std::string::npos);
}

TEST(TarnelSim, HelpExitsWithTheUsage) {
    SimProcess sim({"--help"});
    EXPECT_EQ(sim.Exit(), 0);
    EXPECT_NE(sim.Output().find("Usage: tarnel-sim"), std::string::npos);
}

}  // namespace
}  // namespace tarnel::sim
