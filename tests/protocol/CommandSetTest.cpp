#include "protocol/CommandSet.h"

#include <gtest/gtest.h>

namespace {

TEST(CommandSet, FormatsArguments) {
    EXPECT_EQ(InquiryCommand(INQUIRY_DURATION, INQUIRY_ARGUMENT), "AT+INQ=60,1\r");
    EXPECT_EQ(ScanCommand(SCAN_MODE, 15), "AT+SCAN=3,15\r");
    EXPECT_EQ(TargetAddrCommand(BdAddr{{0x00, 0x1a, 0x7d, 0xda, 0x71, 0x13}}), "AT+TADDR=001A7DDA7113\r");
    EXPECT_EQ(QuietModeCommand(1), "AT+QM=1\r");
    EXPECT_EQ(NameCommand("Tarnel \xED\x95\x9C"), "AT+NAME=Tarnel \xED\x95\x9C\r");
    EXPECT_EQ(UartCommand(115200, 'E', 2, 1), "AT+UART=115200,E,2,1\r");
    EXPECT_EQ(OpModeCommand(3), "AT+OPMODE=3\r");
}

// A command cut to the buffer would lose its CR, so one that does not fit
// is not formatted at all.
TEST(CommandSet, CommandsFitTheModuleBufferOrAreRefused) {
    const std::string longest = NameCommand(std::string(118, 'n'));
    EXPECT_EQ(longest.size(), 127u);
    EXPECT_EQ(longest.back(), '\r');
    EXPECT_EQ(NameCommand(std::string(119, 'n')), "");
    EXPECT_EQ(NameCommand(std::string(200, 'n')), "");
}

}  // namespace
