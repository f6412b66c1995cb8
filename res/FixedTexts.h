#pragma once

#include <string_view>

// The texts the windows build in code rather than take from the string
// table: they read the same in every language.
namespace res {

// The status bar's words for an open port's line, indexed by the line
// settings' values (none, odd, even; one, one and a half, two; none,
// software, hardware).
inline constexpr std::u16string_view kParityWords[] = {u"No parity", u"Odd parity", u"Even parity"};
inline constexpr std::u16string_view kStopBitsWords[] = {u"1 stopbit", u"1.5 stopbit", u"2 stopbit"};
inline constexpr std::u16string_view kFlowControlWords[] = {u"No flow control", u"SW flow control",
                                                            u"HW flow control"};

// Put before the product version in the status bar, and between the
// product's name and its version in the About box.
inline constexpr std::u16string_view kVersionPrefix = u"Version ";
inline constexpr std::u16string_view kNameVersionSeparator = u" Ver ";

// The configurator's items of its on/off combo boxes, and the titles of its
// search list's columns: address, name, signal strength, class of device.
inline constexpr std::u16string_view kOn = u"ON";
inline constexpr std::u16string_view kOff = u"OFF";
inline constexpr std::u16string_view kSearchColumns[] = {u"BD ADDR", u"Name", u"RSSI", u"CoD"};

// The caption of the box shown when the program cannot start.
inline constexpr std::u16string_view kErrorCaption = u"Error";

}  // namespace res
