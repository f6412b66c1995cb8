#include "serial/EnumerateComPorts.h"
#include "serial/EnumerateComPortsLinux.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>

#include "tests/support/PtyPair.h"
#include "tests/support/TempDir.h"

namespace fs = std::filesystem;
using tarnel::test::PtyPair;
using tarnel::test::TempDir;

namespace {

std::string DeviceNumberOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(stat(path.c_str(), &st), 0) << path;
    return std::to_string(major(st.st_rdev)) + ":" + std::to_string(minor(st.st_rdev));
}

// A sysfs tree and a virtual port directory under a fresh temporary folder.
class EnumerateTest : public ::testing::Test {
protected:
    EnumerateTest() {
        m_sysfs = m_root / "sys";
        m_virtual = m_root / "tarnel-ports";
        fs::create_directories(Tty());
        fs::create_directories(m_virtual);
    }
    fs::path Tty() const { return m_sysfs / "class" / "tty"; }

    // attributes: file name to content; withDevice adds the "device" link.
    void AddTty(const std::string& name, bool withDevice,
                const std::vector<std::pair<std::string, std::string>>& attributes = {}) {
        const fs::path entry = Tty() / name;
        fs::create_directories(entry);
        if (withDevice) {
            fs::create_directories(m_sysfs / "devices" / name);
            fs::create_directory_symlink(m_sysfs / "devices" / name, entry / "device");
        }
        for (const auto& [file, content] : attributes)
            std::ofstream(entry / file) << content << "\n";
    }
    void AddCharSubsystem(const std::string& number, const std::string& subsystem) {
        const fs::path dir = m_sysfs / "dev" / "char" / number;
        fs::create_directories(dir);
        fs::create_directories(m_sysfs / "class" / subsystem);
        fs::create_directory_symlink(m_sysfs / "class" / subsystem, dir / "subsystem");
    }
    void Link(const std::string& name, const fs::path& target) {
        fs::create_symlink(target, m_virtual / name);
    }
    std::string Virtual(const std::string& name) const { return (m_virtual / name).string(); }

    std::vector<std::string> Enumerate(std::error_code* error = nullptr) {
        std::vector<std::string> ports{"left over"};
        const std::error_code result = EnumerateSysfsComPorts(ports, m_sysfs, m_virtual);
        if (error)
            *error = result;
        else
            EXPECT_FALSE(result) << result.message();
        return ports;
    }

    // The entries of a directory in the order the system lists them.
    static std::vector<std::string> DirectoryOrder(const fs::path& dir,
                                                   const std::vector<std::string>& keep) {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir)) {
            const std::string name = entry.path().filename().string();
            if (std::find(keep.begin(), keep.end(), name) != keep.end()) names.push_back(name);
        }
        return names;
    }

    TempDir m_dir{"tarnel-enum"};
    const fs::path m_root = m_dir.Path();
    fs::path m_sysfs;
    fs::path m_virtual;
};

TEST_F(EnumerateTest, NothingThereIsSuccessWithAnEmptyList) {
    EXPECT_TRUE(Enumerate().empty());
    fs::remove_all(m_root);
    EXPECT_TRUE(Enumerate().empty());
}

TEST_F(EnumerateTest, KernelPortsWithDevicesInDirectoryOrder) {
    AddTty("ttyUSB0", true, {{"dev", "188:0"}});
    AddTty("ttyACM0", true, {{"dev", "166:0"}});
    AddTty("ttyAMA0", true, {{"dev", "204:64"}});
    AddTty("tty1", false, {{"dev", "4:1"}});
    AddTty("console", false, {{"dev", "5:1"}, {"active", "tty0 ttyS4"}});
    AddTty("ptmx", false, {{"dev", "5:2"}});
    AddTty("ttyS0", true, {{"dev", "4:64"}, {"type", "0"}});
    AddTty("ttyS1", true, {{"dev", "4:65"}, {"type", "4"}});
    AddTty("ttyS2", true, {{"dev", "4:66"}});
    AddTty("ttyS3", true, {{"dev", "4:67"}, {"type", "garbage"}});
    AddTty("ttyS4", true, {{"dev", "4:68"}, {"type", "4"}});  // the kernel's console

    std::vector<std::string> expected;
    for (const auto& name : DirectoryOrder(Tty(), {"ttyUSB0", "ttyACM0", "ttyAMA0", "ttyS1"}))
        expected.push_back("/dev/" + name);
    EXPECT_EQ(Enumerate(), expected);
}

TEST_F(EnumerateTest, VirtualPortsAreLinksToTerminalDevicesAfterTheKernelPorts) {
    PtyPair first;
    PtyPair second;
    PtyPair third;
    PtyPair reused;
    AddTty("ttyUSB0", true, {{"dev", "188:0"}});
    AddCharSubsystem("5:0", "tty");
    AddCharSubsystem("1:3", "mem");
    const fs::path plainFile = m_root / "plain";
    std::ofstream(plainFile) << "x";

    Link("sim", first.SlavePath());
    Link("socat", second.SlavePath());
    Link("controlling", "/dev/tty");
    Link("gone", m_root / "no-such-device");
    Link("file", plainFile);
    Link("null", "/dev/null");
    Link("folder", m_root);
    // A companion nobody holds locked: its publisher was killed.
    Link("abandoned", third.SlavePath());
    std::ofstream(m_virtual / "abandoned.lock") << "";
    // A link older than its terminal: the number went to someone else.
    Link("reused", reused.SlavePath());
    ASSERT_TRUE(reused.RenewAfter(Virtual("reused")));
    std::ofstream(m_virtual / "not-a-link") << "x";

    const auto ports = Enumerate();
    ASSERT_FALSE(ports.empty());
    EXPECT_EQ(ports.front(), "/dev/ttyUSB0");
    std::vector<std::string> expected{"/dev/ttyUSB0"};
    for (const auto& name : DirectoryOrder(m_virtual, {"sim", "socat", "controlling"}))
        expected.push_back(Virtual(name));
    EXPECT_EQ(ports, expected);
}

TEST_F(EnumerateTest, APortReachedTwiceIsListedOnce) {
    PtyPair pty;
    PtyPair kernelTwin;
    AddTty("ttyUSB7", true, {{"dev", DeviceNumberOf(kernelTwin.SlavePath())}});
    Link("a", pty.SlavePath());
    Link("b", pty.SlavePath());
    Link("twin", kernelTwin.SlavePath());

    const auto ports = Enumerate();
    ASSERT_EQ(ports.size(), 2u);
    EXPECT_EQ(ports[0], "/dev/ttyUSB7");
    EXPECT_EQ(ports[1], Virtual(DirectoryOrder(m_virtual, {"a", "b"}).front()));
}

TEST_F(EnumerateTest, UnreadableSourceIsReportedButTheOtherIsStillListed) {
    PtyPair pty;
    fs::remove_all(Tty());
    std::ofstream(Tty()) << "not a directory";
    Link("sim", pty.SlavePath());

    std::error_code error;
    const auto ports = Enumerate(&error);
    EXPECT_EQ(error, std::errc::not_a_directory);
    EXPECT_EQ(ports, std::vector<std::string>{Virtual("sim")});
}

TEST_F(EnumerateTest, SystemListIncludesTheVirtualPortDirectory) {
    PtyPair pty;
    const char* old = std::getenv("XDG_RUNTIME_DIR");
    const std::string saved = old ? old : "";
    setenv("XDG_RUNTIME_DIR", m_root.c_str(), 1);
    Link("sim", pty.SlavePath());

    std::vector<PortName> ports;
    const std::error_code error = EnumerateComPorts(ports);
    if (old)
        setenv("XDG_RUNTIME_DIR", saved.c_str(), 1);
    else
        unsetenv("XDG_RUNTIME_DIR");
    EXPECT_FALSE(error) << error.message();
    EXPECT_NE(std::find(ports.begin(), ports.end(), PortName(Virtual("sim"))), ports.end());
    for (const PortName& port : ports)
        EXPECT_TRUE(port.Native().starts_with("/dev/") || port.Native() == Virtual("sim")) << port.Native();
}

}  // namespace
