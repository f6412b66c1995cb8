#include "ctl/JsonString.h"

#include <gtest/gtest.h>

namespace tarnel::ctl {
namespace {

using namespace std::string_literals;

TEST(JsonString, EscapesWhatJsonRequiresAndKeepsWellFormedUtf8) {
    EXPECT_EQ(JsonString(""), R"("")");
    EXPECT_EQ(JsonString("Sensor 7"), R"("Sensor 7")");
    EXPECT_EQ(JsonString("a\"b\\c/d"), R"("a\"b\\c/d")");
    EXPECT_EQ(JsonString("\b\f\n\r\t"), R"("\b\f\n\r\t")");
    EXPECT_EQ(JsonString("\x01\x1f\x7f"), R"("\u0001\u001f\u007f")");
    EXPECT_EQ(JsonString("a\0b"s), R"("a\u0000b")");
    // Two-, three- and four-byte characters, including the largest code point.
    EXPECT_EQ(JsonString("é센서😀\xF4\x8F\xBF\xBF"), "\"é센서😀\xF4\x8F\xBF\xBF\"");
}

TEST(JsonString, EveryByteOutsideWellFormedUtf8BecomesOneReplacementCharacter) {
    const std::pair<std::string, std::string> cases[] = {
        {"\x80", R"("\ufffd")"},                                // a stray continuation byte
        {"a\xC3", R"("a\ufffd")"},                              // cut off at the end
        {"\xC3(", R"("\ufffd(")"},                              // cut off by another character
        {"\xC0\xAF", R"("\ufffd\ufffd")"},                      // overlong '/'
        {"\xE0\x80\xAF", R"("\ufffd\ufffd\ufffd")"},            // overlong three-byte form
        {"\xED\xA0\x80", R"("\ufffd\ufffd\ufffd")"},            // a surrogate
        {"\xF4\x90\x80\x80", R"("\ufffd\ufffd\ufffd\ufffd")"},  // above U+10FFFF
        {"\xF5\xFF", R"("\ufffd\ufffd")"},                      // bytes that never occur
        {"\xE2\x82", R"("\ufffd\ufffd")"},                      // a three-byte form cut short
        {"ok\xFF\"", R"("ok\ufffd\"")"},
    };
    for (const auto& [bytes, json] : cases)
        EXPECT_EQ(JsonString(bytes), json) << testing::PrintToString(bytes);
}

TEST(JsonString, AllByteValuesGiveValidJsonText) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    const std::string json = JsonString(all);
    // No raw control character and no byte above 0x7F survives: the printable
    // ASCII range is the only one that passes, and it passes in order.
    for (const char c : json)
        EXPECT_TRUE(c >= 0x20 && c < 0x7F) << int(static_cast<unsigned char>(c));
    EXPECT_NE(json.find(" !\\\"#$%&'()*+,-./0123456789:;<=>?@ABC"), std::string::npos);
    EXPECT_NE(json.find("xyz{|}~\\u007f\\ufffd"), std::string::npos);
}

}  // namespace
}  // namespace tarnel::ctl
