#include "terminal/Utf8StreamDecoder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Case {
    const char* name;
    Bytes bytes;
    std::u16string text;
};

const std::vector<Case>& Cases() {
    static const std::vector<Case> cases = {
        {"ascii", {0x41, 0x54, 0x0D, 0x0A}, u"AT\r\n"},
        {"euro", {0xE2, 0x82, 0xAC}, u"\u20AC"},
        {"hangul", {0xED, 0x95, 0x9C}, u"\uD55C"},
        {"beyond the basic plane", {0xF0, 0x9F, 0x98, 0x80}, u"\U0001F600"},
        {"lone continuation", {0x41, 0x80, 0x42}, u"A\uFFFDB"},
        {"truncated then ascii", {0xE2, 0x82, 0x41}, u"\uFFFDA"},
        {"overlong two-byte", {0xC0, 0xAF}, u"\uFFFD\uFFFD"},
        {"surrogate encoded", {0xED, 0xA0, 0x80}, u"\uFFFD\uFFFD\uFFFD"},
        {"above U+10FFFF", {0xF4, 0x90, 0x80, 0x80}, u"\uFFFD\uFFFD\uFFFD\uFFFD"},
        {"invalid lead", {0xFF, 0xFE}, u"\uFFFD\uFFFD"},
        {"lead then lead", {0xE2, 0xE2, 0x82, 0xAC}, u"\uFFFD\u20AC"},
        {"nul kept", {0x41, 0x00, 0x42}, std::u16string(u"A\0B", 3)},
    };
    return cases;
}

std::u16string DecodeInPieces(const Bytes& bytes, const std::vector<std::size_t>& cuts) {
    Utf8StreamDecoder decoder;
    std::u16string out;
    std::size_t from = 0;
    for (std::size_t cut : cuts) {
        out += decoder.Decode(bytes.data() + from, cut - from);
        from = cut;
    }
    out += decoder.Decode(bytes.data() + from, bytes.size() - from);
    return out;
}

TEST(Utf8StreamDecoder, WholeInputDecodesToExpectedText) {
    for (const Case& c : Cases()) {
        Utf8StreamDecoder decoder;
        EXPECT_EQ(decoder.Decode(c.bytes.data(), c.bytes.size()), c.text) << c.name;
        EXPECT_EQ(decoder.HeldLength(), 0u) << c.name;
    }
}

// The text must not depend on where the stream was cut into pieces.
TEST(Utf8StreamDecoder, TextDoesNotDependOnHowTheBytesAreSplit) {
    for (const Case& c : Cases()) {
        for (std::size_t cut = 0; cut <= c.bytes.size(); ++cut) {
            EXPECT_EQ(DecodeInPieces(c.bytes, {cut}), c.text) << c.name << " cut at " << cut;
        }
        std::vector<std::size_t> everyByte;
        for (std::size_t i = 1; i < c.bytes.size(); ++i)
            everyByte.push_back(i);
        EXPECT_EQ(DecodeInPieces(c.bytes, everyByte), c.text) << c.name << " byte by byte";
    }
}

TEST(Utf8StreamDecoder, HoldsOnlyAnIncompleteTailAndResetForgetsIt) {
    Utf8StreamDecoder decoder;
    const Bytes start = {0x41, 0xF0, 0x9F, 0x98};
    EXPECT_EQ(decoder.Decode(start.data(), start.size()), u"A");
    EXPECT_EQ(decoder.HeldLength(), 3u);

    decoder.Reset();
    const Bytes next = {0x80, 0x42};
    EXPECT_EQ(decoder.Decode(next.data(), next.size()), u"\uFFFDB");
}

TEST(Utf8StreamDecoder, BrokenHeldSequenceIsReplacedAndTheNewPieceKept) {
    Utf8StreamDecoder decoder;
    const Bytes first = {0xE2, 0x82};
    const Bytes second = {0x42, 0x43};
    EXPECT_EQ(decoder.Decode(first.data(), first.size()), u"");
    EXPECT_EQ(decoder.Decode(second.data(), second.size()), u"\uFFFDBC");
    EXPECT_EQ(decoder.HeldLength(), 0u);
}

}  // namespace
