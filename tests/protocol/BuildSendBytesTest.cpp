#include "protocol/BuildSendBytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

struct SendCase {
    const char* what;
    std::u16string line;
    bool hex;
    bool cr;
    bool lf;
    std::vector<uint8_t> bytes;
    int errorId;
};

std::u16string Repeat(std::u16string_view unit, std::size_t count) {
    std::u16string s;
    for (std::size_t i = 0; i < count; ++i)
        s += unit;
    return s;
}

std::vector<uint8_t> Filled(std::size_t n, uint8_t value, const std::vector<uint8_t>& tail = {}) {
    std::vector<uint8_t> v(n + tail.size(), value);
    std::copy(tail.begin(), tail.end(), v.begin() + static_cast<std::ptrdiff_t>(n));
    return v;
}

std::vector<SendCase> Cases() {
    return {
        {"text with CR", u"AT", false, true, false, {0x41, 0x54, 0x0D}, 0},
        {"text with CR LF", u"AT", false, true, true, {0x41, 0x54, 0x0D, 0x0A}, 0},
        {"text with LF only", u"AT", false, false, true, {0x41, 0x54, 0x0A}, 0},
        {"Hangul without line end", u"\uD55C", false, false, false, {0xED, 0x95, 0x9C}, 0},
        {"character outside the BMP", u"\U0001F600", false, false, false, {0xF0, 0x9F, 0x98, 0x80}, 0},
        {"unpaired surrogate", u"a\xD800", false, false, false, {0x61, 0xEF, 0xBF, 0xBD}, 0},
        {"embedded NUL is sent", std::u16string(u"a\0b", 3), false, true, false, {0x61, 0x00, 0x62, 0x0D}, 0},
        {"text of 512 units", Repeat(u"x", 512), false, true, true, Filled(512, 'x', {0x0D, 0x0A}), 0},
        {"text of 512 units of a 3-byte character", Repeat(u"\uD55C", 512), false, false, false,
         [] {
             std::vector<uint8_t> v;
             for (int i = 0; i < 512; ++i)
                 v.insert(v.end(), {0xED, 0x95, 0x9C});
             return v;
         }(),
         0},
        {"text of 513 units", Repeat(u"x", 513), false, true, false, {}, SEND_ERR_TOO_LONG},
        {"surrogate pair counts as two units",
         Repeat(u"\U0001F600", 257),
         false,
         false,
         false,
         {},
         SEND_ERR_TOO_LONG},

        {"hex with CR LF", u"0d0A", true, true, true, {0x0D, 0x0A, 0x0D, 0x0A}, 0},
        {"hex pair order", u"A5", true, false, false, {0xA5}, 0},
        {"hex odd length first", u"0 1", true, false, false, {}, SEND_ERR_ODD_LENGTH},
        {"hex with space", u"0 12", true, false, false, {}, SEND_ERR_BAD_FORMAT},
        {"hex with 0x prefix", u"0x12", true, false, false, {}, SEND_ERR_BAD_FORMAT},
        {"hex GG", u"GG", true, false, false, {}, SEND_ERR_BAD_FORMAT},
        {"hex with colon", u"12:3", true, false, false, {}, SEND_ERR_BAD_FORMAT},
        {"hex with non-ASCII", u"\u00E91", true, false, false, {}, SEND_ERR_BAD_FORMAT},
        {"hex with control character", u"1\t", true, false, false, {}, SEND_ERR_BAD_FORMAT},
        {"hex with NUL", std::u16string(u"1\0", 2), true, false, false, {}, SEND_ERR_BAD_FORMAT},
        {"hex of 1024 digits", Repeat(u"ff", 512), true, false, false, Filled(512, 0xFF), 0},
        {"hex of 1024 digits with line end", Repeat(u"00", 512), true, true, true,
         Filled(512, 0x00, {0x0D, 0x0A}), 0},
        {"hex of 1026 digits", Repeat(u"ff", 513), true, false, false, {}, SEND_ERR_TOO_LONG},
        {"hex of 1023 digits", Repeat(u"f", 1023), true, false, false, {}, SEND_ERR_ODD_LENGTH},
        {"hex too long before odd", Repeat(u"f", 1025), true, false, false, {}, SEND_ERR_TOO_LONG},
    };
}

TEST(BuildSendBytes, LinesToBytesOrErrors) {
    for (const SendCase& c : Cases()) {
        const SendBytes result = BuildSendBytes(c.line, c.hex, c.cr, c.lf);
        EXPECT_EQ(result.errorId, c.errorId) << c.what;
        EXPECT_EQ(result.Ok(), c.errorId == 0) << c.what;
        EXPECT_EQ(result.bytes, c.bytes) << c.what;
    }
}

}  // namespace
