#include "sim/UartSettings.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace tarnel::sim {
namespace {

struct ParityCase {
    std::string text;
    std::optional<char> expected;
};

TEST(UartSettings, WhatTheModulesUartTakes) {
    const ParityCase parities[] = {{"N", 'N'}, {"e", 'E'}, {"O", 'O'}, {"o", 'O'},
                                   {"M", {}},  {"NE", {}}, {"", {}},   {"0", {}}};
    for (const ParityCase& c : parities)
        EXPECT_EQ(ParityLetterOf(c.text), c.expected) << "'" << c.text << "'";
    for (uint32_t count : {0u, 1u, 2u, 3u})
        EXPECT_EQ(IsStopBitCount(count), count == 1 || count == 2) << count;
    for (uint32_t baud : {1200u, 921600u})
        EXPECT_TRUE(IsModuleBaudRate(baud)) << baud;
    for (uint32_t baud : {0u, 14400u, 1000000u})
        EXPECT_FALSE(IsModuleBaudRate(baud)) << baud;
}

}  // namespace
}  // namespace tarnel::sim
