#include "module/DeviceNameError.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(DeviceNameError, NamesTheReasonTheModuleCannotTakeAName) {
    struct Case {
        std::string name;
        int expected;
    };
    const Case cases[] = {
        {"Tarnel", 0},
        {std::string(32, 'x'), 0},
        {"거실 스피커", 0},  // bytes above 0x7F are text, not control characters
        {"~ !\"#$%&'()*+-./:;<=>?@[\\]^_`{|}", 0},
        {"", 122},
        {std::string(33, 'x'), 123},
        {std::string(11 * 3, '\xEA'), 123},
        {"a,b", 131},
        {",", 131},
        {"a\rAT&F", 131},
        {"a\nb", 131},
        {"a\tb", 131},
        {std::string("a\0b", 3), 131},
        {"a\x1F", 131},
        {"\x7F", 131},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DeviceNameError(c.name), c.expected) << c.name;
}

}  // namespace
