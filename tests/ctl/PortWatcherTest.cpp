#include "ctl/PortWatcher.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

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
                ports.push_back({name, Identity(name), PortIdentity(name)});
            return ports;
        };
    }
    // Ports listed by the watcher, by name.
    static Ports Names(const std::vector<PortWatcher::Port>& ports) {
        Ports names;
        for (const PortWatcher::Port& port : ports)
            names.push_back(port.name);
        return names;
    }
    // A USB adapter's stable identity stands in for its serial number; the
    // rest are known by their names.
    std::string Identity(const std::string& name) const {
        const auto serial = m_serials.find(name);
        return serial == m_serials.end() ? name : serial->second;
    }
    std::string Link(const std::string& name, const test::PtyPair& pty) {
        fs::create_symlink(pty.SlavePath(), m_virtual / name);
        return (m_virtual / name).string();
    }
    void Unlink(const std::string& path) { fs::remove(path); }
    void RemoveUsbAdapter(const std::string& name) { fs::remove_all(m_sysfs / "class" / "tty" / name); }
    std::string AddUsbAdapter(const std::string& name, const std::string& serial = "") {
        if (!serial.empty()) m_serials["/dev/" + name] = serial;
        const fs::path entry = m_sysfs / "class" / "tty" / name;
        fs::create_directories(m_sysfs / "devices" / name);
        fs::create_directories(entry);
        fs::create_directory_symlink(m_sysfs / "devices" / name, entry / "device");
        return "/dev/" + name;
    }

    test::TempDir m_dir{"tarnel-watch"};
    fs::path m_sysfs = m_dir.Path() / "sys";
    fs::path m_virtual = m_dir.Path() / "tarnel-ports";
    std::map<std::string, std::string> m_serials;
    test::PtyPair m_ptyA, m_ptyB, m_ptyC;
};

TEST_F(PortWatcherTest, ReportsOnlyPortsThatAppearAfterItStarted) {
    const std::string before = Link("before", m_ptyA);
    const std::string usbBefore = AddUsbAdapter("ttyUSB0");
    PortWatcher watcher(Lister());
    EXPECT_EQ(Names(watcher.Poll()), Ports{});

    const std::string sim = Link("sim", m_ptyB);
    EXPECT_EQ(Names(watcher.Poll()), Ports{sim});
    EXPECT_EQ(Names(watcher.Poll()), Ports{});
    const std::string usb = AddUsbAdapter("ttyUSB1");
    EXPECT_EQ(Names(watcher.Poll()), Ports{usb});
    EXPECT_EQ(Names(watcher.Poll()), Ports{});
}

TEST_F(PortWatcherTest, ANewPortThatGoesAndComesBackIsReportedAgainAPortThereAtTheStartNever) {
    const std::string before = Link("before", m_ptyA);
    AddUsbAdapter("ttyUSB0", "FT-OPERATOR");
    PortWatcher watcher(Lister());
    const std::string sim = Link("sim", m_ptyB);
    EXPECT_EQ(Names(watcher.Poll()), Ports{sim});

    Unlink(sim);
    Unlink(before);
    RemoveUsbAdapter("ttyUSB0");
    EXPECT_EQ(Names(watcher.Poll()), Ports{});
    // The module's port comes back: a module plugged in again. The
    // operator's link comes back to another terminal, the operator's adapter
    // under another name: still theirs.
    Link("sim", m_ptyC);
    Link("before", m_ptyB);
    AddUsbAdapter("ttyUSB1", "FT-OPERATOR");
    EXPECT_EQ(Names(watcher.Poll()), Ports{sim});
    // Another adapter under the operator's old name is new.
    AddUsbAdapter("ttyUSB0", "FT-MODULE");
    EXPECT_EQ(Names(watcher.Poll()), Ports{"/dev/ttyUSB0"});
}

TEST_F(PortWatcherTest, ALinkThatIsNoPortYetIsReportedWhenItBecomesOne) {
    PortWatcher watcher(Lister());
    const fs::path pending = m_dir.Path() / "pending";
    fs::create_symlink(pending, m_virtual / "late");
    EXPECT_EQ(Names(watcher.Poll()), Ports{});
    fs::create_symlink(m_ptyA.SlavePath(), pending);
    EXPECT_EQ(Names(watcher.Poll()), Ports{(m_virtual / "late").string()});
}

TEST_F(PortWatcherTest, ANewNameThatComesToStandForAnotherDeviceIsANewPort) {
    PortWatcher watcher(Lister());
    const std::string sim = Link("sim", m_ptyA);
    EXPECT_EQ(Names(watcher.Poll()), Ports{sim});
    // Between two looks a simulator restarts under the same name on another
    // pseudo-terminal: a new module, though the name stayed.
    Unlink(sim);
    Link("sim", m_ptyB);
    EXPECT_EQ(Names(watcher.Poll()), Ports{sim});
    EXPECT_EQ(Names(watcher.Poll()), Ports{});
}

}  // namespace
}  // namespace tarnel::ctl
