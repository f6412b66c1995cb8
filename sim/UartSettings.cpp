#include "sim/UartSettings.h"

#include <algorithm>
#include <array>

namespace tarnel::sim {

bool IsModuleBaudRate(uint32_t baud) {
    static constexpr std::array<uint32_t, 11> kRates = {1200,  2400,   4800,   9600,   19200, 38400,
                                                        57600, 115200, 230400, 460800, 921600};
    return std::find(kRates.begin(), kRates.end(), baud) != kRates.end();
}

}  // namespace tarnel::sim
