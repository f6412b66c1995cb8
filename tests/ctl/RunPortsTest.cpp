#include "ctl/RunPorts.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "ctl/ExitStatus.h"
#include "serial/EnumerateComPortsLinux.h"
#include "serial/UsbPortInfoLinux.h"
#include "tests/support/PtyPair.h"
#include "tests/support/TempDir.h"

namespace tarnel::ctl {
namespace {

namespace fs = std::filesystem;

// A fake sysfs with one USB adapter and one built-in UART, udev's by-id link
// for the adapter, and a simulator's link in the virtual port directory.
class RunPortsTest : public ::testing::Test {
protected:
    RunPortsTest() {
        const fs::path usb = m_sysfs / "devices" / "usb1" / "1-2";
        AddTty("ttyUSB0", usb / "1-2:1.0" / "ttyUSB0");
        for (const auto& [file, content] : {std::pair{"idVendor", "0403"},
                                            {"idProduct", "6001"},
                                            {"manufacturer", "FTDI"},
                                            {"product", "FT232R USB UART"},
                                            {"serial", "A1B2C3"}})
            std::ofstream(usb / file) << content << "\n";
        AddTty("ttyAMA0", m_sysfs / "devices" / "platform" / "uart");
        fs::create_directories(m_byId);
        fs::create_symlink("../../ttyUSB0", m_byId / "usb-FTDI_A1B2C3-if00-port0");
        fs::create_directories(m_virtual);
        fs::create_symlink(m_pty.SlavePath(), m_virtual / "sim");
    }
    void AddTty(const std::string& name, const fs::path& device) {
        fs::create_directories(device);
        fs::create_directories(m_sysfs / "class" / "tty" / name);
        fs::create_directory_symlink(device, m_sysfs / "class" / "tty" / name / "device");
    }
    int Run(bool json) {
        return RunPorts(
            json, m_out, m_err,
            {[this](std::vector<std::string>& ports) {
                 return EnumerateSysfsComPorts(ports, m_sysfs, m_virtual);
             },
             [this](const std::string& port) { return ReadSysfsUsbPortInfo(port, m_sysfs, m_byId); }});
    }
    std::string ById() const { return (m_byId / "usb-FTDI_A1B2C3-if00-port0").string(); }
    std::string Sim() const { return (m_virtual / "sim").string(); }

    test::TempDir m_dir{"tarnel-ports"};
    fs::path m_sysfs = m_dir.Path() / "sys";
    fs::path m_virtual = m_dir.Path() / "tarnel-ports";
    fs::path m_byId = m_dir.Path() / "by-id";
    test::PtyPair m_pty;
    std::ostringstream m_out;
    std::ostringstream m_err;
};

// The kernel lists its ports in directory order, which the test does not fix.
std::string InKernelOrder(const fs::path& sysfs, const std::string& usb, const std::string& uart) {
    const fs::path first = fs::directory_iterator(sysfs / "class" / "tty")->path().filename();
    return first == "ttyUSB0" ? usb + uart : uart + usb;
}

TEST_F(RunPortsTest, TextShowsEachPortWithWhatIsKnownOfItsUsbAdapter) {
    EXPECT_EQ(Run(false), EXIT_DONE);
    const std::string usb =
        "/dev/ttyUSB0\n  usb-id: 0403:6001\n  vendor: FTDI\n  product: FT232R USB UART\n"
        "  serial: A1B2C3\n  by-id: " +
        ById() + "\n";
    EXPECT_EQ(m_out.str(), InKernelOrder(m_sysfs, usb, "/dev/ttyAMA0\n") + Sim() + "\n");
    EXPECT_EQ(m_err.str(), "");
}

TEST_F(RunPortsTest, JsonIsOneObjectPerPort) {
    EXPECT_EQ(Run(true), EXIT_DONE);
    const std::string usb = R"({"port":"/dev/ttyUSB0","usb-id":"0403:6001","vendor":"FTDI",)"
                            R"("product":"FT232R USB UART","serial":"A1B2C3","by-id":")" +
                            ById() + "\"}\n";
    EXPECT_EQ(m_out.str(), InKernelOrder(m_sysfs, usb, "{\"port\":\"/dev/ttyAMA0\"}\n") + "{\"port\":\"" +
                               Sim() + "\"}\n");
}

TEST_F(RunPortsTest, NoPortIsSaidOnStandardErrorAndAnUnreadableListFails) {
    fs::remove_all(m_virtual);
    fs::remove_all(m_sysfs / "class");
    EXPECT_EQ(Run(false), EXIT_DONE);
    EXPECT_EQ(m_out.str(), "");
    EXPECT_EQ(m_err.str(), "tarnelctl: No serial port found.\n");

    std::ofstream(m_virtual) << "not a directory";
    m_err.str("");
    EXPECT_EQ(Run(false), EXIT_REFUSED);
    EXPECT_EQ(m_err.str(), "tarnelctl: The port list could not be read completely: Not a directory.\n");
}

}  // namespace
}  // namespace tarnel::ctl
