#include "protocol/BdAddr.h"

#include <gtest/gtest.h>

#include "protocol/HexPairToByte.h"

namespace {

TEST(BdAddr, FormatsUpperCaseByteZeroFirst) {
    const BdAddr addr{{0x01, 0x02, 0x03, 0x04, 0x05, 0x06}};
    std::string text;
    FormatBdAddr(addr, text);
    EXPECT_EQ(text, "010203040506");
    std::u16string wide;
    FormatBdAddrW(BdAddr{{0xAB, 0xCD, 0xEF, 0x00, 0x9A, 0xFF}}, wide);
    EXPECT_EQ(wide, u"ABCDEF009AFF");
}

TEST(BdAddr, Parses) {
    struct Case {
        std::string text;
        bool ok;
        BdAddr expected;  // the address after the call, which starts as all 0x77
    };
    const BdAddr untouched{{0x77, 0x77, 0x77, 0x77, 0x77, 0x77}};
    const Case cases[] = {
        {"0011223344AA", true, {{0x00, 0x11, 0x22, 0x33, 0x44, 0xAA}}},
        {"0011223344aa", true, {{0x00, 0x11, 0x22, 0x33, 0x44, 0xAA}}},
        {"01020304050G", false, {{0x01, 0x02, 0x03, 0x04, 0x05, 0x00}}},  // bytes before the bad pair stay
        {"0011223344A", false, untouched},
        {"0011223344AAB", false, untouched},
        {"00:11:22:33:44:AA", false, untouched},
        {"", false, untouched},
        {"00112233 4AA", false, {{0x00, 0x11, 0x22, 0x33, 0x00, 0x00}}},
    };
    for (const Case& c : cases) {
        BdAddr addr = untouched;
        EXPECT_EQ(ParseBdAddr(c.text, addr), c.ok) << c.text;
        EXPECT_EQ(addr, c.expected) << c.text;
    }
}

TEST(BdAddr, UnsetAddresses) {
    EXPECT_TRUE(BdAddr{}.IsUnset());
    EXPECT_TRUE((BdAddr{{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}}).IsUnset());
    EXPECT_FALSE((BdAddr{{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE}}).IsUnset());
    EXPECT_FALSE((BdAddr{{0, 0, 0, 0, 0, 1}}).IsUnset());
}

TEST(HexPairToByte, HighNibbleFirstEitherCase) {
    struct Case {
        char high, low;
        bool ok;
        uint8_t value;
    };
    const Case cases[] = {
        {'0', 'd', true, 0x0D}, {'A', '5', true, 0xA5}, {'f', 'F', true, 0xFF}, {'9', '0', true, 0x90},
        {'G', '0', false, 0},   {'0', 'g', false, 0},   {' ', '1', false, 0},   {'0', 'x', false, 0},
        {'\0', '0', false, 0},  {'/', ':', false, 0},   {'@', '`', false, 0},
    };
    for (const Case& c : cases) {
        uint8_t out = 0;
        EXPECT_EQ(HexPairToByte(c.high, c.low, out), c.ok) << c.high << c.low;
        EXPECT_EQ(out, c.value) << c.high << c.low;
    }
}

}  // namespace
