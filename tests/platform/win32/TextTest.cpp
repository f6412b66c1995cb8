#include <gtest/gtest.h>

#include <string>

#include "platform/FromUtf8.h"
#include "platform/IsSpace.h"

namespace {

TEST(TextTest, Utf8DecodesWithMalformedSequencesAsReplacementCharacters) {
    struct Case {
        std::string bytes;
        std::u16string text;
    };
    const Case cases[] = {
        {"", u""},
        {"AT+VER?", u"AT+VER?"},
        {"\xEA\xB1\xB0\xEC\x8B\xA4", u"거실"},
        {"\xF0\x9F\x98\x80", u"\U0001F600"},
        {"a\xC3(", u"a\uFFFD("},
        {"\xFF", u"\uFFFD"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ui::FromUtf8(c.bytes), c.text) << c.bytes;
}

TEST(TextTest, SpacesAreUnicodeSpacesNotOnlyAsciiBlanks) {
    for (char16_t unit : {u' ', u'\t', u'\r', u'\n', u'\u00A0', u'\u3000', u'\u2003'})
        EXPECT_TRUE(ui::IsSpace(unit)) << static_cast<int>(unit);
    for (char16_t unit : {u'a', u'0', u'_', u'가', u'\uFEFF'})
        EXPECT_FALSE(ui::IsSpace(unit)) << static_cast<int>(unit);
}

}  // namespace
