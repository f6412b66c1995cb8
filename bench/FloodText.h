#pragma once

#include <cstddef>
#include <string>

// The text the terminal benchmarks flood a port with: numbered lines of ASCII,
// Korean and other UTF-8 (a character outside the Basic Multilingual Plane
// too), each ended by CR LF, at least `bytes` long, then a line that holds
// kFloodEndMarker. The same size gives the same text.
std::string FloodText(std::size_t bytes);

inline constexpr const char* kFloodEndMarker = "END OF FLOOD";
