#include "protocol/ResponseFields.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct CutCase {
    std::string field;
    std::string expected;  // what a 5-byte record keeps: at most 4 bytes
};

TEST(ResponseFields, Utf8TextIsCutBeforeACharacter) {
    const CutCase cases[] = {
        {"abcdef", "abcd"},
        {"ab\xC3\xA9", "ab\xC3\xA9"},
        {"abc\xC3\xA9", "abc"},
        {"a\xED\x95\x9C"
         "b",
         "a\xED\x95\x9C"},
        {"ab\xED\x95\x9C", "ab"},
        {"\xF0\x9F\x98\x80!", "\xF0\x9F\x98\x80"},
        // Bytes that start no character are kept one by one, as far as they fit.
        {"abc\x80\x80", "abc\x80"},
        {"\x80\x80\x80\x80\x80", "\x80\x80\x80\x80"},
        {"abc\xC3", "abc\xC3"},
    };
    for (const CutCase& c : cases) {
        char record[5];
        CopyUtf8Text(c.field, record, sizeof record);
        EXPECT_EQ(std::string(record), c.expected) << ::testing::PrintToString(c.field);
    }
}

}  // namespace
