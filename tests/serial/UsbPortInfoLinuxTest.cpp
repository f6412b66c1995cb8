#include "serial/UsbPortInfoLinux.h"

#include <gtest/gtest.h>

#include <fstream>

#include "tests/support/TempDir.h"

namespace {

namespace fs = std::filesystem;
using tarnel::test::TempDir;

// A sysfs tree laid out as the kernel lays out USB serial adapters, and a
// by-id directory as udev fills it.
class UsbPortInfoTest : public ::testing::Test {
protected:
    UsbPortInfoTest() { fs::create_directories(m_byId); }

    // A USB device at `usbPath` under devices/, with the attributes given.
    fs::path AddUsbDevice(const std::string& usbPath,
                          const std::vector<std::pair<std::string, std::string>>& attributes) {
        const fs::path dir = m_sysfs / "devices" / "pci0000:00" / usbPath;
        fs::create_directories(dir);
        for (const auto& [file, content] : attributes)
            std::ofstream(dir / file) << content << "\n";
        return dir;
    }
    // class/tty/NAME whose device is `deviceDir`.
    void AddTty(const std::string& name, const fs::path& deviceDir) {
        fs::create_directories(deviceDir);
        const fs::path entry = m_sysfs / "class" / "tty" / name;
        fs::create_directories(entry);
        fs::create_directory_symlink(deviceDir, entry / "device");
    }
    void AddById(const std::string& link, const std::string& name) {
        fs::create_symlink(fs::path("../..") / name, m_byId / link);
    }
    std::optional<UsbPortInfo> Read(const std::string& port) {
        return ReadSysfsUsbPortInfo(port, m_sysfs, m_byId);
    }

    TempDir m_dir{"tarnel-usb"};
    fs::path m_sysfs = m_dir.Path() / "sys";
    fs::path m_byId = m_dir.Path() / "by-id";
};

TEST_F(UsbPortInfoTest, ReadsTheUsbDeviceAboveTheSerialPortAndItsStableName) {
    const fs::path ftdi = AddUsbDevice("usb1/1-2", {{"idVendor", "0403"},
                                                    {"idProduct", "6001"},
                                                    {"manufacturer", "FTDI"},
                                                    {"product", "FT232R USB UART"},
                                                    {"serial", "A1B2C3"}});
    AddTty("ttyUSB0", ftdi / "1-2:1.0" / "ttyUSB0");
    AddById("usb-FTDI_FT232R_USB_UART_A1B2C3-if00-port0", "ttyUSB0");
    AddById("usb-Other_Adapter-if00-port0", "ttyUSB00");

    const auto info = Read("/dev/ttyUSB0");
    ASSERT_TRUE(info);
    EXPECT_EQ(info->vendorId, "0403");
    EXPECT_EQ(info->productId, "6001");
    EXPECT_EQ(info->manufacturer, "FTDI");
    EXPECT_EQ(info->product, "FT232R USB UART");
    EXPECT_EQ(info->serialNumber, "A1B2C3");
    EXPECT_EQ(info->byIdPath, (m_byId / "usb-FTDI_FT232R_USB_UART_A1B2C3-if00-port0").string());
}

TEST_F(UsbPortInfoTest, AModemStyleAdapterWithoutSerialNumberOrLinkLeavesThoseEmpty) {
    const fs::path acm = AddUsbDevice("usb1/1-3", {{"idVendor", "2341"}, {"idProduct", "0043"}});
    AddTty("ttyACM0", acm / "1-3:1.0");
    AddById("usb-b-if00", "ttyACM0");
    AddById("usb-a-if00", "ttyACM0");

    const auto info = Read("/dev/ttyACM0");
    ASSERT_TRUE(info);
    EXPECT_EQ(info->vendorId + ":" + info->productId, "2341:0043");
    EXPECT_EQ(info->manufacturer, "");
    EXPECT_EQ(info->serialNumber, "");
    EXPECT_EQ(info->byIdPath, (m_byId / "usb-a-if00").string());

    fs::remove_all(m_byId);
    ASSERT_TRUE(Read("/dev/ttyACM0"));
    EXPECT_EQ(Read("/dev/ttyACM0")->byIdPath, "");
}

TEST_F(UsbPortInfoTest, PortsThatAreNoUsbDeviceHaveNone) {
    AddTty("ttyS0", m_sysfs / "devices" / "platform" / "serial8250");
    // A vendor id above the sysfs root belongs to nothing in it.
    std::ofstream(m_dir.Path() / "idVendor") << "dead\n";
    EXPECT_FALSE(Read("/dev/ttyS0"));
    EXPECT_FALSE(Read("/dev/ttyUSB7"));
    EXPECT_FALSE(Read((m_dir.Path() / "tarnel-ports" / "sim").string()));
    EXPECT_FALSE(Read("ttyS0"));
}

}  // namespace
