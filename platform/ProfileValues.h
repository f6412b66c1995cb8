#pragma once

// The section and the value names of the settings store, spelled as the
// stored profiles have them (misspellings included), with their defaults.

#include <string_view>

namespace ui::profile {

inline constexpr std::u16string_view kSection = u"Default Values";

inline constexpr std::u16string_view kComPort = u"Application COM port";
inline constexpr std::u16string_view kComPortDefault = u"COM1";
inline constexpr std::u16string_view kBaudRate = u"Application buadrate";
inline constexpr int kBaudRateDefault = 9600;
// The character code of the parity letter: 'N' none, 'E' even, 'O' odd.
inline constexpr std::u16string_view kParity = u"Application parity bit";
inline constexpr int kParityDefault = 'N';
inline constexpr std::u16string_view kStopBits = u"Application stop bit";
inline constexpr int kStopBitsDefault = 1;
// 1 configurator, 2 serial terminal.
inline constexpr std::u16string_view kOpMode = u"Applicatoin Op Mode";
inline constexpr int kOpModeDefault = 1;
inline constexpr std::u16string_view kLineEndCR = u"Line end carriage return";
inline constexpr int kLineEndCRDefault = 1;
inline constexpr std::u16string_view kLineEndLF = u"Line end line feed";
inline constexpr int kLineEndLFDefault = 0;

}  // namespace ui::profile
