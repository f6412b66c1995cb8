#include "protocol/Utf8SequenceLength.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct SequenceCase {
    std::string text;
    std::size_t expected;
};

TEST(Utf8SequenceLength, WellFormedSequencesOnly) {
    const SequenceCase cases[] = {
        {"A", 1},
        {std::string(1, '\0'), 1},
        {"\xC3\xA9", 2},          // é
        {"\xED\x95\x9C", 3},      // 한
        {"\xF0\x9F\x98\x80", 4},  // an emoji
        {"\xF4\x8F\xBF\xBF", 4},  // U+10FFFF
        {"\x80", 0},              // a stray continuation byte
        {"\xC3", 0},              // cut off
        {"\xED\x95", 0},          // cut off
        {"\xC3"
         "A",
         0},                      // no continuation byte
        {"\xC0\xAF", 0},          // overlong
        {"\xE0\x80\xAF", 0},      // overlong
        {"\xF0\x8F\xBF\xBF", 0},  // overlong
        {"\xED\xA0\x80", 0},      // a surrogate
        {"\xF4\x90\x80\x80", 0},  // above U+10FFFF
        {"\xF5\x80\x80\x80", 0},  // no lead byte
        {"\xE2\x82"
         "A",
         0},  // third byte no continuation
        {"\xFF", 0},
    };
    for (const SequenceCase& c : cases)
        EXPECT_EQ(Utf8SequenceLength(c.text, 0), c.expected) << ::testing::PrintToString(c.text);
    EXPECT_EQ(Utf8SequenceLength("A\xC3\xA9", 1), 2u);
}

}  // namespace
