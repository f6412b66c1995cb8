#include "terminal/Utf8StreamDecoder.h"

#include <vector>

namespace {

constexpr char16_t kReplacement = 0xFFFD;

struct LeadByte {
    int continuations;  // -1: the byte cannot start a sequence
    std::uint8_t secondLow;
    std::uint8_t secondHigh;
    char32_t bits;
};

// The second byte's range is narrower after some lead bytes: that is what
// excludes overlong forms, surrogates and values above U+10FFFF.
LeadByte Classify(std::uint8_t b) {
    if (b >= 0xC2 && b <= 0xDF) return {1, 0x80, 0xBF, char32_t(b & 0x1F)};
    if (b == 0xE0) return {2, 0xA0, 0xBF, char32_t(b & 0x0F)};
    if (b == 0xED) return {2, 0x80, 0x9F, char32_t(b & 0x0F)};
    if (b >= 0xE1 && b <= 0xEF) return {2, 0x80, 0xBF, char32_t(b & 0x0F)};
    if (b == 0xF0) return {3, 0x90, 0xBF, char32_t(b & 0x07)};
    if (b == 0xF4) return {3, 0x80, 0x8F, char32_t(b & 0x07)};
    if (b >= 0xF1 && b <= 0xF3) return {3, 0x80, 0xBF, char32_t(b & 0x07)};
    return {-1, 0, 0, 0};
}

char16_t* PutCodePoint(char16_t* out, char32_t cp) {
    if (cp < 0x10000) {
        *out++ = static_cast<char16_t>(cp);
        return out;
    }
    cp -= 0x10000;
    *out++ = static_cast<char16_t>(0xD800 + (cp >> 10));
    *out++ = static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    return out;
}

}  // namespace

std::u16string Utf8StreamDecoder::Decode(const std::uint8_t* data, std::size_t length) {
    std::vector<std::uint8_t> bytes(m_held, m_held + m_heldLength);
    bytes.insert(bytes.end(), data, data + length);
    m_heldLength = 0;

    // No byte gives more than one unit (a four-byte sequence gives two), so
    // the text is written into room for one unit per byte and cut to size.
    const std::size_t n = bytes.size();
    std::u16string text(n, u'\0');
    char16_t* out = text.data();
    std::size_t i = 0;
    while (i < n) {
        while (i < n && bytes[i] < 0x80)
            *out++ = bytes[i++];
        if (i == n) break;
        const LeadByte lead = Classify(bytes[i]);
        if (lead.continuations < 0) {
            *out++ = kReplacement;
            ++i;
            continue;
        }
        char32_t cp = lead.bits;
        std::size_t j = i + 1;
        bool broken = false;
        for (int k = 0; k < lead.continuations && !broken; ++k, ++j) {
            if (j == n) {
                for (std::size_t h = i; h < n; ++h)
                    m_held[m_heldLength++] = bytes[h];
                text.resize(static_cast<std::size_t>(out - text.data()));
                return text;
            }
            const std::uint8_t low = k == 0 ? lead.secondLow : 0x80;
            const std::uint8_t high = k == 0 ? lead.secondHigh : 0xBF;
            broken = bytes[j] < low || bytes[j] > high;
            cp = (cp << 6) | (bytes[j] & 0x3F);
        }
        if (broken) {
            // The offending byte is not consumed: it may start the next character.
            *out++ = kReplacement;
            i = j - 1;
            continue;
        }
        out = PutCodePoint(out, cp);
        i = j;
    }
    text.resize(static_cast<std::size_t>(out - text.data()));
    return text;
}
