#include "sim/BdAddress.h"

#include <gtest/gtest.h>

namespace tarnel::sim {
namespace {

TEST(BdAddress, FormatsByteZeroFirstInUpperCase) {
    EXPECT_EQ(FormatAddress({0x01, 0x02, 0x03, 0x0A, 0xBC, 0xFF}), "0102030ABCFF");
}

TEST(BdAddress, ParsesTwelveDigitsOfEitherCaseOnly) {
    EXPECT_EQ(ParseAddress("0a1B2c3D4e5F"), (BdAddress{0x0A, 0x1B, 0x2C, 0x3D, 0x4E, 0x5F}));
    for (const char* bad :
         {"", "0A1B2C3D4E5", "0A1B2C3D4E5F0", "0A1B2C3D4E5G", "0A:1B:2C:3D:4E", " A1B2C3D4E5F"})
        EXPECT_FALSE(ParseAddress(bad)) << bad;
}

}  // namespace
}  // namespace tarnel::sim
