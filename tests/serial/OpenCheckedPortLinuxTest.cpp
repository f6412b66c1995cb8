#include "serial/PortAccessLinux.h"

#include "serial/PortHolderLinux.h"
#include "serial/PortRefusalLinux.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <asio/io_context.hpp>
#include <asio/write.hpp>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <thread>
#include <vector>

#include "tests/support/PtyPair.h"
#include "tests/support/TempDir.h"
#include "tests/support/WaitUntil.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

const std::string kPending = "pending\n";

enum class LinkAge { Fresh, FreeCompanion, OlderThanTheTerminal };

struct Case {
    const char* what;
    LinkAge link;
    bool exclusive;    // the peer holds the terminal in exclusive mode
    bool console;      // the terminal is the active kernel console
    std::string lock;  // the lock file's content, if any
    std::error_code refusal;
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

// A pseudo-terminal that another program has open (its peer descriptor, in
// canonical mode with a line pending), published by a link, with a sysfs tree
// and a lock directory of the test's own.
class OtherProgramsPort {
public:
    OtherProgramsPort() {
        fs::create_directories(m_paths.lockDir);
        termios tio{};
        tcgetattr(m_pty.MasterFd(), &tio);
        tio.c_lflag |= ICANON;
        tcsetattr(m_pty.MasterFd(), TCSANOW, &tio);
        tcgetattr(m_pty.MasterFd(), &m_before);
        m_pty.Send(kPending);
        EXPECT_TRUE(tarnel::test::WaitUntil([this] { return PeerPending() == kPending.size(); }, 5s));
    }
    ~OtherProgramsPort() {
        ioctl(m_peer, TIOCNXCL);
        close(m_peer);
    }

    std::string Arrange(const Case& c) const {
        const fs::path link = m_dir.Path() / "sim";
        fs::create_symlink(m_pty.SlavePath(), link);
        if (c.link == LinkAge::FreeCompanion) std::ofstream(link.string() + ".lock") << "";
        if (c.link == LinkAge::OlderThanTheTerminal) {
            EXPECT_TRUE(m_pty.RenewAfter(link));
        }
        if (c.exclusive) ioctl(m_peer, TIOCEXCL);
        if (!c.lock.empty())
            std::ofstream(m_paths.lockDir / ("LCK.." + fs::path(m_pty.SlavePath()).filename().string()))
                << c.lock;
        if (c.console) MakeConsole();
        return link;
    }

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
        EXPECT_EQ(m_pty.ReceiveIdle(50ms), "");
        EXPECT_EQ(PeerPending(), kPending.size()) << "the peer's input was flushed";
        EXPECT_EQ(after.c_lflag, m_before.c_lflag);
        EXPECT_EQ(after.c_iflag, m_before.c_iflag);
        EXPECT_EQ(after.c_cflag, m_before.c_cflag);
    }

private:
    std::size_t PeerPending() const {
        int pending = 0;
        return ioctl(m_peer, FIONREAD, &pending) == 0 ? static_cast<std::size_t>(pending) : 0;
    }
    void MakeConsole() const {
        const fs::path tty = m_paths.sysfsRoot / "class" / "tty";
        fs::create_directories(tty / "console");
        fs::create_directories(tty / "ttyS0");
        std::ofstream(tty / "console" / "active") << "tty0 ttyS0\n";
        struct stat target {};
        stat(m_pty.SlavePath().c_str(), &target);
        std::ofstream(tty / "ttyS0" / "dev") << major(target.st_rdev) << ":" << minor(target.st_rdev) << "\n";
    }

    tarnel::test::TempDir m_dir{"tarnel-ports"};
    PortSystemPaths m_paths{m_dir.Path() / "sys", m_dir.Path() / "lock"};
    tarnel::test::PtyPair m_pty;
    int m_peer = open(m_pty.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    termios m_before{};
};

// Another program's port, or not a port for us: refused before anything is
// written, set or flushed; a claim that is no longer true refuses nothing.
TEST(Ports, APortThatIsNotOursIsNeverWrittenNorSet) {
    const int ownPid = getpid();
    std::string binaryOwnPid(sizeof ownPid, '\0');
    std::memcpy(binaryOwnPid.data(), &ownPid, sizeof ownPid);
    const Case cases[] = {
        {"a link whose companion lock is free", LinkAge::FreeCompanion, false, false, "",
         PortRefusal::StaleLink},
        {"a link older than its terminal", LinkAge::OlderThanTheTerminal, false, false, "",
         PortRefusal::StaleLink},
        {"another program's exclusive mode",
         LinkAge::Fresh,
         true,
         false,
         "",
         {EBUSY, std::system_category()}},
        {"a live process's lock, as text", LinkAge::Fresh, false, false, AsciiPid(1), PortHeldByProcess(1)},
        {"a live process's lock, as an int", LinkAge::Fresh, false, false, binaryOwnPid,
         PortHeldByProcess(ownPid)},
        {"the system console", LinkAge::Fresh, false, true, "", PortRefusal::SystemConsole},
        {"a lock whose process is gone", LinkAge::Fresh, false, false, AsciiPid(DeadPid()), {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        OtherProgramsPort port;
        const std::error_code error = port.OpenAndWrite(port.Arrange(c));
        EXPECT_EQ(error, c.refusal) << error.message();
        if (c.refusal) port.ExpectUntouched();
    }
    EXPECT_EQ(PortHeldByProcess(1), std::errc::device_or_resource_busy);
    EXPECT_EQ(PortHeldByProcess(4321).message(), "Device or resource busy (locked by process 4321)");
}

// The open of a dying pseudo-terminal may return only once another program's
// new one has its number. The checks are held here (the lock file is a pipe
// that they read) while the terminal is freed and its number taken anew.
TEST(Ports, ATerminalMadeAnewUnderTheCheckedNumberIsRefused) {
    tarnel::test::TempDir dir{"tarnel-reborn"};
    const PortSystemPaths paths{dir.Path() / "sys", dir.Path() / "lock"};
    fs::create_directories(paths.lockDir);
    auto old = std::make_unique<tarnel::test::PtyPair>();
    const std::string number = old->SlavePath();
    const fs::path link = dir.Path() / "sim";
    fs::create_symlink(number, link);
    const fs::path lock = paths.lockDir / "LCK..sim";
    ASSERT_EQ(mkfifo(lock.c_str(), 0600), 0);

    std::unique_ptr<tarnel::test::PtyPair> reborn;
    std::thread taker([&] {
        const int checks = open(lock.c_str(), O_WRONLY | O_CLOEXEC);
        struct stat before {};
        stat(number.c_str(), &before);
        old.reset();
        // A change time comes from the kernel's coarse clock, or repeats the
        // finest one handed out since: a terminal made before that clock has
        // passed the old one's could share it, as a restarted program's never
        // does.
        const auto passed = [&] {
            timespec now{};
            clock_gettime(CLOCK_REALTIME_COARSE, &now);
            return now.tv_sec != before.st_ctim.tv_sec ? now.tv_sec > before.st_ctim.tv_sec
                                                       : now.tv_nsec > before.st_ctim.tv_nsec;
        };
        EXPECT_TRUE(tarnel::test::WaitUntil(passed, 5s));
        std::vector<std::unique_ptr<tarnel::test::PtyPair>> others;
        while (!reborn && others.size() < 64) {
            auto pty = std::make_unique<tarnel::test::PtyPair>();
            (pty->SlavePath() == number ? reborn : others.emplace_back()) = std::move(pty);
        }
        close(checks);
    });
    asio::io_context context;
    asio::serial_port port(context);
    const std::error_code error = OpenCheckedPort(port, link, paths);
    taker.join();
    if (!reborn) GTEST_SKIP() << "another program took the number";
    EXPECT_EQ(error, PortRefusal::ChangedWhileOpening) << error.message();
    EXPECT_FALSE(port.is_open());
}
}  // namespace
