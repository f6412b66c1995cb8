#include "serial/PortAccessLinux.h"

#include "serial/PortHolder.h"
#include "serial/PortRefusal.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <asio/io_context.hpp>
#include <asio/write.hpp>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>

#include "tests/support/PtyPair.h"
#include "tests/support/TempDir.h"
#include "tests/support/WaitUntil.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

const std::string kPending = "pending\n";

// A pseudo-terminal that another program has open (its peer descriptor, in
// canonical mode with a line pending), with a sysfs tree and a lock directory
// of the test's own.
class OtherProgramsPort {
public:
    OtherProgramsPort() {
        fs::create_directories(m_paths.lockDir);
        fs::create_directories(m_paths.sysfsRoot / "class" / "tty");
        termios tio{};
        tcgetattr(m_pty.MasterFd(), &tio);
        tio.c_lflag |= ICANON;
        tcsetattr(m_pty.MasterFd(), TCSANOW, &tio);
        tcgetattr(m_pty.MasterFd(), &m_before);
        m_pty.Send(kPending);
    }
    ~OtherProgramsPort() {
        ioctl(m_peer, TIOCNXCL);
        close(m_peer);
    }

    std::string Link(bool withFreeCompanion = false) const {
        const fs::path link = m_dir.Path() / "sim";
        fs::create_symlink(m_pty.SlavePath(), link);
        if (withFreeCompanion) std::ofstream(link.string() + ".lock") << "";
        return link.string();
    }
    std::string LinkOlderThanTheTerminal() const {
        std::string link = Link();
        EXPECT_TRUE(m_pty.RenewAfter(link));
        return link;
    }
    void LockFile(const std::string& content) const {
        std::ofstream(m_paths.lockDir / ("LCK.." + fs::path(m_pty.SlavePath()).filename().string()))
            << content;
    }
    std::string Console() const {
        const fs::path tty = m_paths.sysfsRoot / "class" / "tty";
        fs::create_directories(tty / "console");
        fs::create_directories(tty / "ttyS0");
        std::ofstream(tty / "console" / "active") << "tty0 ttyS0\n";
        struct stat target {};
        stat(m_pty.SlavePath().c_str(), &target);
        std::ofstream(tty / "ttyS0" / "dev") << major(target.st_rdev) << ":" << minor(target.st_rdev) << "\n";
        return m_pty.SlavePath();
    }
    void HoldExclusive() const { ioctl(m_peer, TIOCEXCL); }

    // Opens `name` as a caller would, and writes to it when that succeeded.
    std::error_code OpenAndWrite(const std::string& name) {
        asio::io_context context;
        asio::serial_port port(context);
        const std::error_code error = OpenCheckedPort(port, name, m_paths);
        if (!error) asio::write(port, asio::buffer(std::string("AT\r")));
        return error;
    }

    void ExpectUntouched() {
        termios after{};
        tcgetattr(m_pty.MasterFd(), &after);
        int pending = 0;
        ioctl(m_peer, FIONREAD, &pending);
        EXPECT_EQ(m_pty.ReceiveIdle(50ms), "");
        EXPECT_EQ(pending, static_cast<int>(kPending.size())) << "the peer's input was flushed";
        EXPECT_EQ(after.c_lflag, m_before.c_lflag);
        EXPECT_EQ(after.c_iflag, m_before.c_iflag);
        EXPECT_EQ(after.c_cflag, m_before.c_cflag);
    }

    bool PendingArrived() const {
        return tarnel::test::WaitUntil(
            [this] {
                int pending = 0;
                return ioctl(m_peer, FIONREAD, &pending) == 0 && pending == static_cast<int>(kPending.size());
            },
            5s);
    }

private:
    tarnel::test::TempDir m_dir{"tarnel-ports"};
    PortSystemPaths m_paths{m_dir.Path() / "sys", m_dir.Path() / "lock"};
    tarnel::test::PtyPair m_pty;
    int m_peer = open(m_pty.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    termios m_before{};
};

// As minicom and lockdev write it.
std::string AsciiPid(int pid) {
    char text[16];
    std::snprintf(text, sizeof text, "%10d\n", pid);
    return text;
}

int DeadPid() {
    const pid_t child = fork();
    if (child == 0) _exit(0);
    waitpid(child, nullptr, 0);
    return child;
}

// Another program's port, or not a port for us: refused before anything is
// written, set or flushed; a claim that is no longer true refuses nothing.
TEST(Ports, APortThatIsNotOursIsNeverWrittenNorSet) {
    const int ownPid = getpid();
    std::string binaryOwnPid(sizeof ownPid, '\0');
    std::memcpy(binaryOwnPid.data(), &ownPid, sizeof ownPid);
    const int dead = DeadPid();

    struct Case {
        const char* what;
        std::function<std::string(OtherProgramsPort&)> arrange;
        std::error_code refusal;
    };
    const Case cases[] = {
        {"a link whose companion lock is free", [](auto& port) { return port.Link(true); },
         PortRefusal::StaleLink},
        {"a link older than its pseudo-terminal", [](auto& port) { return port.LinkOlderThanTheTerminal(); },
         PortRefusal::StaleLink},
        {"a terminal in another program's exclusive mode",
         [](auto& port) {
             port.HoldExclusive();
             return port.Link();
         },
         std::error_code(EBUSY, std::system_category())},
        {"a lock file of a live process, as text",
         [&](auto& port) {
             port.LockFile(AsciiPid(1));
             return port.Link();
         },
         PortHeldByProcess(1)},
        {"a lock file of a live process, as a binary int",
         [&](auto& port) {
             port.LockFile(binaryOwnPid);
             return port.Link();
         },
         PortHeldByProcess(ownPid)},
        {"the system console", [](auto& port) { return port.Console(); }, PortRefusal::SystemConsole},
        {"a lock file whose process is gone",
         [&](auto& port) {
             port.LockFile(AsciiPid(dead));
             return port.Link();
         },
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        OtherProgramsPort port;
        ASSERT_TRUE(port.PendingArrived());
        const std::string name = c.arrange(port);
        const std::error_code error = port.OpenAndWrite(name);
        EXPECT_EQ(error, c.refusal) << error.message();
        if (c.refusal) port.ExpectUntouched();
    }
    EXPECT_EQ(PortHeldByProcess(1), std::errc::device_or_resource_busy);
    EXPECT_EQ(PortHeldByProcess(4321).message(), "Device or resource busy (locked by process 4321)");
}

}  // namespace
