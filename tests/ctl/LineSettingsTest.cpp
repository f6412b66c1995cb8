#include "ctl/LineSettings.h"

#include <gtest/gtest.h>

namespace tarnel::ctl {
namespace {

TEST(LineSettings, ReadsEveryOfferedFramingAndMapsItToTheChannelsValues) {
    for (const uint32_t baud : OFFERED_BAUD_RATES) {
        LineSettings line;
        ASSERT_EQ(ParseLineSettings(std::to_string(baud) + ",o,2", line), "");
        EXPECT_EQ(line, (LineSettings{baud, 'O', 2}));
        EXPECT_EQ(FormatLineSettings(line), std::to_string(baud) + ",O,2");
    }
    EXPECT_EQ(ParityFromLetter('N'), 0);
    EXPECT_EQ(ParityFromLetter('O'), 1);
    EXPECT_EQ(ParityFromLetter('E'), 2);
    EXPECT_EQ(StopBitsFromCount(1), 0);
    EXPECT_EQ(StopBitsFromCount(2), 2);
}

TEST(LineSettings, AMistakeSaysWhatIsWrongAndChangesNothing) {
    LineSettings line{19200, 'E', 2};
    EXPECT_EQ(ParseLineSettings("9601,N,1", line),
              "The baud rate must be one of 9600, 19200, 38400, 57600, 115200, 230400, 460800, not '9601'.");
    EXPECT_EQ(ParseLineSettings("9600,NN,1", line), "The parity must be N, E or O, not 'NN'.");
    EXPECT_EQ(ParseLineSettings("9600,N,1.5", line), "The stop bits must be 1 or 2, not '1.5'.");
    EXPECT_NE(ParseLineSettings("9600 N 1", line), "");
    EXPECT_EQ(line, (LineSettings{19200, 'E', 2}));
}

TEST(LineSettings, UartFlowControlIsOffUnlessSaidOn) {
    UartSettings uart{{19200, 'E', 2}, true};
    ASSERT_EQ(ParseUartSettings("115200,N,1", uart), "");
    EXPECT_EQ(uart, (UartSettings{{115200, 'N', 1}, false}));
    ASSERT_EQ(ParseUartSettings("9600,E,1,on", uart), "");
    EXPECT_EQ(uart, (UartSettings{{9600, 'E', 1}, true}));
    EXPECT_EQ(ParseUartSettings("9600,E,1,ON", uart), "The flow control must be on or off, not 'ON'.");
    EXPECT_EQ(uart, (UartSettings{{9600, 'E', 1}, true}));
}

}  // namespace
}  // namespace tarnel::ctl
