#include "bench/FloodText.h"

#include <iterator>

std::string FloodText(std::size_t bytes) {
    static const char* const kTexts[] = {
        "OK",
        "AT+VER? Tarnel 1.1",
        "\xED\x95\x9C\xEA\xB5\xAD\xEC\x96\xB4 \xED\x85\x8D\xEC\x8A\xA4\xED\x8A\xB8",
        "price 12 \xE2\x82\xAC, check \xE2\x9C\x93",
        "The quick brown fox jumps over the lazy dog",
        "\xF0\x9F\x98\x80 smile"};
    std::string flood;
    flood.reserve(bytes + 100);
    for (unsigned i = 0; flood.size() < bytes; ++i) {
        flood += "line " + std::to_string(i) + ": " + kTexts[i % std::size(kTexts)] + "\r\n";
    }
    return flood + kFloodEndMarker + "\r\n";
}
