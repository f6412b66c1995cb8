#include "sim/UartSettings.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace tarnel::sim {

bool IsModuleBaudRate(uint32_t baud) {
    static constexpr std::array<uint32_t, 11> kRates = {1200,  2400,   4800,   9600,   19200, 38400,
                                                        57600, 115200, 230400, 460800, 921600};
    return std::find(kRates.begin(), kRates.end(), baud) != kRates.end();
}

std::optional<char> ParityLetterOf(std::string_view text) {
    if (text.size() != 1) return std::nullopt;
    const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    if (std::find(OFFERED_PARITIES.begin(), OFFERED_PARITIES.end(), letter) == OFFERED_PARITIES.end())
        return std::nullopt;
    return letter;
}

bool IsStopBitCount(uint32_t count) {
    return std::find(OFFERED_STOP_BITS.begin(), OFFERED_STOP_BITS.end(), count) != OFFERED_STOP_BITS.end();
}

}  // namespace tarnel::sim
