#include "protocol/ResponseFields.h"

#include <algorithm>
#include <string>

#include "protocol/Utf8SequenceLength.h"

namespace {

bool IsSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// Skips white space and reads an optional sign; returns whether it was a minus.
bool SkipSpaceAndSign(std::string_view field, std::size_t& i) {
    while (i < field.size() && IsSpace(field[i]))
        ++i;
    if (i < field.size() && (field[i] == '+' || field[i] == '-')) return field[i++] == '-';
    return false;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

bool SplitKeywordLine(std::string_view line, std::string_view keyword, std::size_t count,
                      std::string_view terminator, std::vector<std::string_view>& fields) {
    const std::size_t comma = line.find(',');
    if (comma == std::string_view::npos || line.substr(0, comma) != keyword) return false;
    return SplitFields(line.substr(comma + 1), count, terminator, fields);
}

bool SplitFields(std::string_view rest, std::size_t count, std::string_view terminator,
                 std::vector<std::string_view>& fields) {
    fields.clear();
    std::size_t start = 0;
    for (std::size_t i = 0; i + 1 < count; ++i) {
        const std::size_t comma = rest.find(',', start);
        if (comma == std::string_view::npos) return false;
        fields.push_back(rest.substr(start, comma - start));
        start = comma + 1;
    }
    const std::size_t end = rest.find(terminator, start);
    if (end == std::string_view::npos) return false;
    fields.push_back(rest.substr(start, end - start));
    return true;
}

bool ParseDecimal(std::string_view field, int32_t& value) {
    std::size_t i = 0;
    const bool negative = SkipSpaceAndSign(field, i);
    const std::size_t firstDigit = i;
    int64_t magnitude = 0;
    for (; i < field.size() && field[i] >= '0' && field[i] <= '9'; ++i) {
        magnitude = magnitude * 10 + (field[i] - '0');
        if (magnitude > int64_t{INT32_MAX} + 1) return false;
    }
    if (i == firstDigit) return false;
    const int64_t signedValue = negative ? -magnitude : magnitude;
    if (signedValue > INT32_MAX) return false;
    value = static_cast<int32_t>(signedValue);
    return true;
}

bool ParseDecimalInRange(std::string_view field, int32_t min, int32_t max, uint8_t& value) {
    int32_t v = 0;
    if (!ParseDecimal(field, v) || v < min || v > max) return false;
    value = static_cast<uint8_t>(v);
    return true;
}

bool ParseClassOfDevice(std::string_view field, uint32_t& value) {
    std::size_t i = 0;
    const bool negative = SkipSpaceAndSign(field, i);
    // As with strtoul, "0x" counts as a prefix only when a hex digit follows.
    if (i + 2 < field.size() && field[i] == '0' && (field[i + 1] == 'x' || field[i + 1] == 'X') &&
        HexValue(field[i + 2]) >= 0) {
        i += 2;
    }
    const std::size_t firstDigit = i;
    uint64_t magnitude = 0;
    for (; i < field.size() && HexValue(field[i]) >= 0; ++i) {
        magnitude = magnitude * 16 + static_cast<uint64_t>(HexValue(field[i]));
        if (magnitude > UINT32_MAX) return false;
    }
    if (i == firstDigit) return false;
    const auto v = static_cast<uint32_t>(negative ? 0 - magnitude : magnitude);
    if (v > 0xFFFFFF) return false;
    value = v;
    return true;
}

void CopyText(std::string_view field, char* dest, std::size_t capacity) {
    const std::size_t n = field.size() < capacity - 1 ? field.size() : capacity - 1;
    field.copy(dest, n);
    dest[n] = '\0';
}

void CopyUtf8Text(std::string_view field, char* dest, std::size_t capacity) {
    std::size_t n = 0;
    while (n < field.size()) {
        // A byte that starts no character is one unit of its own: no cut can split it.
        const std::size_t length = std::max<std::size_t>(Utf8SequenceLength(field, n), 1);
        if (n + length > capacity - 1) break;
        n += length;
    }
    CopyText(field.substr(0, n), dest, capacity);
}

bool MatchWord(std::string_view field, std::initializer_list<std::string_view> words, uint8_t& index) {
    uint8_t i = 0;
    for (std::string_view word : words) {
        if (field == word) {
            index = i;
            return true;
        }
        ++i;
    }
    return false;
}

bool ParseAddress(std::string_view field, BdAddr& addr) {
    return ParseBdAddr(std::string(field), addr);
}
