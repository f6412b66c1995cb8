#include "sim/TerminalFraming.h"

#include <gtest/gtest.h>

namespace tarnel::sim {
namespace {

class FramingRoundTrip : public ::testing::TestWithParam<LineSettings> {};

TEST_P(FramingRoundTrip, ReadsBackWhatWasSet) {
    termios tio{};
    cfmakeraw(&tio);
    SetFraming(tio, GetParam());
    EXPECT_EQ(FramingOf(tio), GetParam());
    // A pseudo-terminal clears PARENB; the parity must still read back.
    tio.c_cflag &= ~PARENB;
    EXPECT_EQ(FramingOf(tio), GetParam());
}

INSTANTIATE_TEST_SUITE_P(Framings, FramingRoundTrip,
                         ::testing::Values(LineSettings{9600, 'N', 1}, LineSettings{9600, 'E', 1},
                                           LineSettings{9600, 'O', 1}, LineSettings{115200, 'N', 2},
                                           LineSettings{460800, 'E', 2}, LineSettings{1200, 'O', 2}),
                         [](const ::testing::TestParamInfo<LineSettings>& info) {
                             return std::to_string(info.param.baud) + info.param.parity +
                                    std::to_string(info.param.stopBits);
                         });

TEST(TerminalFraming, ParityIsOffWhenParityErrorsAreIgnored) {
    termios tio{};
    cfmakeraw(&tio);
    cfsetspeed(&tio, B19200);
    tio.c_iflag |= INPCK | IGNPAR;
    EXPECT_EQ(FramingOf(tio), (LineSettings{19200, 'N', 1}));
}

TEST(TerminalFraming, ChangingParityClearsTheOldBits) {
    termios tio{};
    cfmakeraw(&tio);
    SetFraming(tio, {9600, 'O', 2});
    SetFraming(tio, {9600, 'N', 1});
    EXPECT_EQ(FramingOf(tio), (LineSettings{9600, 'N', 1}));
}

TEST(TerminalFraming, UnnamedSpeedReadsAsZeroAndIsNotSet) {
    termios tio{};
    cfmakeraw(&tio);
    cfsetspeed(&tio, B0);
    EXPECT_EQ(FramingOf(tio).baud, 0u);
    SetFraming(tio, {12345, 'N', 1});
    EXPECT_EQ(cfgetospeed(&tio), static_cast<speed_t>(B0));
}

}  // namespace
}  // namespace tarnel::sim
