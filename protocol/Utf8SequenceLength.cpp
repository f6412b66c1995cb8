#include "protocol/Utf8SequenceLength.h"

Utf8Lead Utf8LeadOf(unsigned char byte) {
    if (byte < 0x80) return {1, 0, 0};
    if (byte >= 0xC2 && byte <= 0xDF) return {2, 0x80, 0xBF};
    if (byte == 0xE0) return {3, 0xA0, 0xBF};
    if (byte == 0xED) return {3, 0x80, 0x9F};
    if (byte >= 0xE1 && byte <= 0xEF) return {3, 0x80, 0xBF};
    if (byte == 0xF0) return {4, 0x90, 0xBF};
    if (byte == 0xF4) return {4, 0x80, 0x8F};
    if (byte >= 0xF1 && byte <= 0xF3) return {4, 0x80, 0xBF};
    return {0, 0, 0};
}

std::size_t Utf8SequenceLength(std::string_view text, std::size_t pos) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[pos + i]); };
    const Utf8Lead lead = Utf8LeadOf(byte(0));
    if (lead.length <= 1) return lead.length;
    if (text.size() - pos < lead.length || byte(1) < lead.secondLow || byte(1) > lead.secondHigh) return 0;
    for (std::size_t i = 2; i < lead.length; ++i)
        if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
    return lead.length;
}
