#include "ctl/RunPorts.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "ctl/ExitStatus.h"
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
        const fs::path usb = m_sources.sysfsRoot / "devices" / "usb1" / "1-2";
        AddTty("ttyUSB0", usb / "1-2:1.0" / "ttyUSB0");
        for (const auto& [file, content] : {std::pair{"idVendor", "0403"},
                                            {"idProduct", "6001"},
                                            {"manufacturer", "FTDI"},
                                            {"product", "FT232R USB UART"},
                                            {"serial", "A1B2C3"}})
            std::ofstream(usb / file) << content << "\n";
        AddTty("ttyAMA0", m_sources.sysfsRoot / "devices" / "platform" / "uart");
        fs::create_directories(m_sources.byIdDir);
        fs::create_symlink("../../ttyUSB0", m_sources.byIdDir / "usb-FTDI_A1B2C3-if00-port0");
        fs::create_directories(m_sources.virtualPortDir);
        fs::create_symlink(m_pty.SlavePath(), m_sources.virtualPortDir / "sim");
    }
    void AddTty(const std::string& name, const fs::path& device) {
        fs::create_directories(device);
        fs::create_directories(m_sources.sysfsRoot / "class" / "tty" / name);
        fs::create_directory_symlink(device, m_sources.sysfsRoot / "class" / "tty" / name / "device");
    }
    int Run(bool json) { return RunPorts(json, m_out, m_err, m_sources); }
    std::string ById() const { return (m_sources.byIdDir / "usb-FTDI_A1B2C3-if00-port0").string(); }
    std::string Sim() const { return (m_sources.virtualPortDir / "sim").string(); }

    test::TempDir m_dir{"tarnel-ports"};
    PortSources m_sources{m_dir.Path() / "sys", m_dir.Path() / "tarnel-ports", m_dir.Path() / "by-id"};
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
    EXPECT_EQ(m_out.str(), InKernelOrder(m_sources.sysfsRoot, usb, "/dev/ttyAMA0\n") + Sim() + "\n");
    EXPECT_EQ(m_err.str(), "");
}

TEST_F(RunPortsTest, JsonIsOneObjectPerPort) {
    EXPECT_EQ(Run(true), EXIT_DONE);
    const std::string usb = R"({"port":"/dev/ttyUSB0","usb-id":"0403:6001","vendor":"FTDI",)"
                            R"("product":"FT232R USB UART","serial":"A1B2C3","by-id":")" +
                            ById() + "\"}\n";
    EXPECT_EQ(m_out.str(), InKernelOrder(m_sources.sysfsRoot, usb, "{\"port\":\"/dev/ttyAMA0\"}\n") +
                               "{\"port\":\"" + Sim() + "\"}\n");
}

TEST_F(RunPortsTest, NoPortIsSaidOnStandardErrorAndAnUnreadableListFails) {
    fs::remove_all(m_sources.virtualPortDir);
    fs::remove_all(m_sources.sysfsRoot / "class");
    EXPECT_EQ(Run(false), EXIT_DONE);
    EXPECT_EQ(m_out.str(), "");
    EXPECT_EQ(m_err.str(), "tarnelctl: No serial port found.\n");

    std::ofstream(m_sources.virtualPortDir) << "not a directory";
    m_err.str("");
    EXPECT_EQ(Run(false), EXIT_REFUSED);
    EXPECT_EQ(m_err.str(), "tarnelctl: The port list could not be read completely: Not a directory.\n");
}

}  // namespace
}  // namespace tarnel::ctl
