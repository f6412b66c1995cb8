#include "terminal/Utf8StreamDecoder.h"

#include <vector>

#include "protocol/Utf8SequenceLength.h"

namespace {

constexpr char16_t kReplacement = 0xFFFD;

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
        const Utf8Lead lead = Utf8LeadOf(bytes[i]);
        if (lead.length == 0) {
            *out++ = kReplacement;
            ++i;
            continue;
        }
        // The lead byte's own bits: fewer the longer the sequence.
        char32_t cp = bytes[i] & (0x7Fu >> lead.length);
        std::size_t j = i + 1;
        bool broken = false;
        for (std::size_t k = 1; k < lead.length && !broken; ++k, ++j) {
            if (j == n) {
                for (std::size_t h = i; h < n; ++h)
                    m_held[m_heldLength++] = bytes[h];
                text.resize(static_cast<std::size_t>(out - text.data()));
                return text;
            }
            const std::uint8_t low = k == 1 ? lead.secondLow : 0x80;
            const std::uint8_t high = k == 1 ? lead.secondHigh : 0xBF;
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
