#include "ctl/PortWatcher.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "ctl/PortIdentity.h"
#include "serial/EnumerateComPortsLinux.h"
#include "tests/support/PtyPair.h"
#include "tests/support/TempDir.h"

namespace tarnel::ctl {
namespace {

namespace fs = std::filesystem;
using Ports = std::vector<std::string>;

// The system's port list from a fake sysfs tree and a virtual port directory
// of links to pseudo-terminals, as the watcher sees it.
class PortWatcherTest : public ::testing::Test {
protected:
    PortWatcherTest() {
        fs::create_directories(m_sysfs / "class" / "tty");
        fs::create_directories(m_virtual);
    }
    PortWatcher::Lister Lister() {
        return [this] {
            Ports names;
            EXPECT_FALSE(EnumerateSysfsComPorts(names, m_sysfs, m_virtual));
            std::vector<PortWatcher::Port> ports;
            for (const std::string& name : names)
                ports.push_back({name, PortIdentity(name)});
            return ports;
        };
    }
    std::string Link(const std::string& name, const test::PtyPair& pty) {
        fs::create_symlink(pty.SlavePath(), m_virtual / name);
        return (m_virtual / name).string();
    }
    void Unlink(const std::string& path) { fs::remove(path); }
    std::string AddUsbAdapter(const std::string& name) {
        const fs::path entry = m_sysfs / "class" / "tty" / name;
        fs::create_directories(m_sysfs / "devices" / name);
        fs::create_directories(entry);
        fs::create_directory_symlink(m_sysfs / "devices" / name, entry / "device");
        return "/dev/" + name;
    }

    test::TempDir m_dir{"tarnel-watch"};
    fs::path m_sysfs = m_dir.Path() / "sys";
    fs::path m_virtual = m_dir.Path() / "tarnel-ports";
    test::PtyPair m_ptyA, m_ptyB, m_ptyC;
};

TEST_F(PortWatcherTest, ReportsOnlyPortsThatAppearAfterItStarted) {
    const std::string before = Link("before", m_ptyA);
    const std::string usbBefore = AddUsbAdapter("ttyUSB0");
    PortWatcher watcher(Lister());
    EXPECT_EQ(watcher.Poll(), Ports{});

    const std::string sim = Link("sim", m_ptyB);
    EXPECT_EQ(watcher.Poll(), Ports{sim});
    EXPECT_EQ(watcher.Poll(), Ports{});
    const std::string usb = AddUsbAdapter("ttyUSB1");
    EXPECT_EQ(watcher.Poll(), Ports{usb});
    EXPECT_EQ(watcher.Poll(), Ports{});
}

TEST_F(PortWatcherTest, APortThatGoesAndComesBackIsReportedAgain) {
    const std::string before = Link("before", m_ptyA);
    PortWatcher watcher(Lister());
    const std::string sim = Link("sim", m_ptyB);
    EXPECT_EQ(watcher.Poll(), Ports{sim});

    Unlink(sim);
    Unlink(before);
    EXPECT_EQ(watcher.Poll(), Ports{});
    Link("sim", m_ptyC);
    Link("before", m_ptyA);
    Ports back = watcher.Poll();
    std::sort(back.begin(), back.end());
    EXPECT_EQ(back, (Ports{before, sim}));
}

TEST_F(PortWatcherTest, ALinkThatIsNoPortYetIsReportedWhenItBecomesOne) {
    PortWatcher watcher(Lister());
    const fs::path pending = m_dir.Path() / "pending";
    fs::create_symlink(pending, m_virtual / "late");
    EXPECT_EQ(watcher.Poll(), Ports{});
    fs::create_symlink(m_ptyA.SlavePath(), pending);
    EXPECT_EQ(watcher.Poll(), Ports{(m_virtual / "late").string()});
}

TEST_F(PortWatcherTest, ANameThatComesToStandForAnotherDeviceIsANewPort) {
    const std::string before = Link("before", m_ptyA);
    PortWatcher watcher(Lister());
    // Between two looks a simulator restarts under the same name on another
    // pseudo-terminal: a new module, though the name stayed.
    Unlink(before);
    Link("before", m_ptyB);
    EXPECT_EQ(watcher.Poll(), Ports{before});
    EXPECT_EQ(watcher.Poll(), Ports{});
}

}  // namespace
}  // namespace tarnel::ctl
