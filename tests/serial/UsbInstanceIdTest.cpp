#include "serial/UsbInstanceId.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "serial/UsbPortInfo.h"

namespace {

struct Ids {
    std::string vendor;
    std::string product;
    std::string serial;
};

Ids Parse(const std::string& id) {
    const auto info = ParseUsbInstanceId(id);
    if (!info) return {"none", "none", "none"};
    EXPECT_TRUE(info->manufacturer.empty() && info->product.empty() && info->byIdPath.empty());
    return {info->vendorId, info->productId, info->serialNumber};
}

bool operator==(const Ids& a, const Ids& b) {
    return a.vendor == b.vendor && a.product == b.product && a.serial == b.serial;
}

void PrintTo(const Ids& ids, std::ostream* out) {
    *out << ids.vendor << ":" << ids.product << " " << ids.serial;
}

TEST(ParseUsbInstanceId, TheDevicesOwnSerialNumberOnly) {
    EXPECT_EQ(Parse("USB\\VID_0403&PID_6001\\A50285BI"), (Ids{"0403", "6001", "A50285BI"}));
    EXPECT_EQ(Parse("usb\\vid_10c4&pid_ea60\\0001"), (Ids{"10c4", "ea60", "0001"}));
    // Made up by Windows for a device without a serial number.
    EXPECT_EQ(Parse("USB\\VID_1A86&PID_7523\\5&2A3B4C5D&0&2"), (Ids{"1a86", "7523", ""}));
    // An interface of a composite device carries its parent's.
    EXPECT_EQ(Parse("USB\\VID_2341&PID_8036&MI_00\\6&1B2C3D4E&0&0000"), (Ids{"2341", "8036", ""}));
}

TEST(ParseUsbInstanceId, FtdiDriverIdsDropTheChannelLetter) {
    EXPECT_EQ(Parse("FTDIBUS\\VID_0403+PID_6001+A50285BIA\\0000"), (Ids{"0403", "6001", "A50285BI"}));
    EXPECT_EQ(Parse("FTDIBUS\\VID_0403+PID_6010+FT4XYZB\\0000"), (Ids{"0403", "6010", "FT4XYZ"}));
    EXPECT_EQ(Parse("FTDIBUS\\VID_0403+PID_6001\\0000"), (Ids{"0403", "6001", ""}));
}

TEST(ParseUsbInstanceId, OtherDevicesAndBrokenIdsGiveNothing) {
    for (const char* id : {"ACPI\\PNP0501\\1", "ROOT\\PORTS\\0000", "", "USB\\VID_04&PID_6001\\X",
                           "USB\\VID_0403\\A1", "USB\\VID_0403&PID_6001"})
        EXPECT_EQ(Parse(id), (Ids{"none", "none", "none"})) << id;
}

}  // namespace
