#pragma once

// The serial line's vocabulary, one for the windows and tarnelctl: the values
// CSerialportMP::Open takes for parity, stop bits and flow control, the forms
// users, the profile and the module write them in (parity letters 'N', 'O',
// 'E'; stop bit counts 1 and 2), and the line settings the program offers.

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>

// The Windows headers, when asio brought them in first, name their own parity
// bits so; in a source that holds the serial line, its names are the line's.
#ifdef _WIN32
#undef PARITY_NONE
#undef PARITY_ODD
#undef PARITY_EVEN
#endif

inline constexpr uint8_t PARITY_NONE = 0;
inline constexpr uint8_t PARITY_ODD = 1;
inline constexpr uint8_t PARITY_EVEN = 2;
inline constexpr uint8_t STOP_BITS_ONE = 0;
inline constexpr uint8_t STOP_BITS_ONE_AND_HALF = 1;
inline constexpr uint8_t STOP_BITS_TWO = 2;
inline constexpr uint8_t FLOW_NONE = 0;
inline constexpr uint8_t FLOW_SOFTWARE = 1;
inline constexpr uint8_t FLOW_HARDWARE = 2;

// Offered, in the order the lists show them.
inline constexpr std::array<uint32_t, 7> OFFERED_BAUD_RATES{9600,   19200,  38400, 57600,
                                                            115200, 230400, 460800};
inline constexpr std::array<char, 3> OFFERED_PARITIES{'N', 'E', 'O'};
inline constexpr std::array<uint8_t, 2> OFFERED_STOP_BITS{1, 2};

// Whether `value` is among the offered ones (OFFERED_PARITIES, ...).
template <typename Offered, typename Value>
constexpr bool IsOffered(const Offered& offered, Value value) {
    return std::ranges::find(offered, value) != offered.end();
}

// One side's framing in the forms users and the module write it.
struct LineSettings {
    uint32_t baud = 9600;
    char parity = 'N';     // one of OFFERED_PARITIES
    uint8_t stopBits = 1;  // one of OFFERED_STOP_BITS

    bool operator==(const LineSettings&) const = default;
};

// 'E' even, 'O' odd, any other letter none.
constexpr uint8_t ParityFromLetter(char letter) {
    return letter == 'E' ? PARITY_EVEN : letter == 'O' ? PARITY_ODD : PARITY_NONE;
}

constexpr char ParityLetter(uint8_t parity) {
    return parity == PARITY_EVEN ? 'E' : parity == PARITY_ODD ? 'O' : 'N';
}

// How the lists name a parity letter.
constexpr std::string_view ParityName(char letter) {
    return letter == 'E' ? "EVEN" : letter == 'O' ? "ODD" : "NONE";
}

// 2 two, any other count one.
constexpr uint8_t StopBitsFromCount(unsigned count) {
    return count == 2 ? STOP_BITS_TWO : STOP_BITS_ONE;
}

// The module knows one and two stop bits; one and a half counts as two.
constexpr uint8_t StopBitCount(uint8_t stopBits) {
    return stopBits == STOP_BITS_ONE ? 1 : 2;
}
