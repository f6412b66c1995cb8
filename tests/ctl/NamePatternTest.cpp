#include "ctl/NamePattern.h"

#include <gtest/gtest.h>

namespace tarnel::ctl {
namespace {

BdAddr Address(const char* text) {
    BdAddr address;
    EXPECT_TRUE(ParseBdAddr(text, address));
    return address;
}

std::string Expand(const char* pattern, uint64_t number, const char* address = "0011223344AA") {
    NamePattern parsed;
    EXPECT_EQ(parsed.Parse(pattern), "") << pattern;
    return parsed.Expand(number, Address(address));
}

TEST(NamePattern, PlaceholdersTakeTheNumberAndTheAddress) {
    EXPECT_EQ(Expand("Sensor-{n}", 7), "Sensor-7");
    EXPECT_EQ(Expand("Sensor-{n:03}", 7), "Sensor-007");
    EXPECT_EQ(Expand("Sensor-{n:03}", 1234), "Sensor-1234");
    EXPECT_EQ(Expand("{n:01}", 0), "0");
    EXPECT_EQ(Expand("Sensor-{addr6}", 1, "a1b2c3d4e5f6"), "Sensor-D4E5F6");
    EXPECT_EQ(Expand("{addr6}/{n}/{addr6}", 12), "3344AA/12/3344AA");
    EXPECT_EQ(Expand("{{n}} {n}", 5), "{n} 5");
    EXPECT_EQ(Expand("plain", 5), "plain");
    EXPECT_EQ(Expand("", 5), "");
}

TEST(NamePattern, AnInvalidPatternIsRefusedAndLeavesNothing) {
    for (const char* pattern : {"{", "a{n", "}", "a}b", "{}", "{N}", "{n:3}", "{n:00}", "{n:010}", "{n:0a}",
                                "{addr}", "{addr6 }", "{ n}"}) {
        NamePattern parsed;
        ASSERT_EQ(parsed.Parse("kept{n}"), "");
        EXPECT_NE(parsed.Parse(pattern), "") << pattern;
        EXPECT_EQ(parsed.Expand(1, BdAddr{}), "") << pattern;
    }
}

}  // namespace
}  // namespace tarnel::ctl
