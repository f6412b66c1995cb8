#include "ctl/ProbeOrder.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tarnel::ctl {
namespace {

TEST(ProbeOrder, EveryOfferedFramingOnceMostLikelyFirst) {
    const auto order = ProbeOrder();
    ASSERT_EQ(order.size(), OFFERED_BAUD_RATES.size() * OFFERED_PARITIES.size() * OFFERED_STOP_BITS.size());
    EXPECT_EQ(order[0], (LineSettings{9600, 'N', 1}));
    EXPECT_EQ(order[1], (LineSettings{115200, 'N', 1}));
    // The no-parity one-stop-bit settings come before any other.
    const auto firstOther = std::find_if(
        order.begin(), order.end(), [](const LineSettings& l) { return l.parity != 'N' || l.stopBits != 1; });
    EXPECT_EQ(firstOther - order.begin(), static_cast<std::ptrdiff_t>(OFFERED_BAUD_RATES.size()));
    for (const uint32_t baud : OFFERED_BAUD_RATES)
        for (const char parity : OFFERED_PARITIES)
            for (const uint8_t stopBits : OFFERED_STOP_BITS)
                EXPECT_EQ(std::count(order.begin(), order.end(), LineSettings{baud, parity, stopBits}), 1)
                    << baud << parity << int(stopBits);
}

}  // namespace
}  // namespace tarnel::ctl
