#include "protocol/TextConversion.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace {

TEST(ToUtf8, ConvertsUpToTheTerminator) {
    std::string out = "stale";
    EXPECT_EQ(ToUtf8(u"COM1", out), 4);
    EXPECT_EQ(out, "COM1");
    EXPECT_EQ(ToUtf8(u"\uD55C\uAE00", out), 6);
    EXPECT_EQ(out, "\xED\x95\x9C\xEA\xB8\x80");
    EXPECT_EQ(ToUtf8(u"\xDC00x", out), 4);  // a lone low surrogate
    EXPECT_EQ(out, "\xEF\xBF\xBDx");
    EXPECT_EQ(ToUtf8(u"\xD83D", out), 3);  // a high surrogate at the end
    EXPECT_EQ(out, "\xEF\xBF\xBD");
    EXPECT_EQ(ToUtf8(u"", out), 0);
    EXPECT_TRUE(out.empty());
    EXPECT_EQ(ToUtf8(static_cast<const char16_t*>(nullptr), out), 0);
}

class ToAnsiTest : public ::testing::Test {
protected:
    void SetUp() override { m_saved = std::setlocale(LC_CTYPE, nullptr); }
    void TearDown() override { std::setlocale(LC_CTYPE, m_saved.c_str()); }

private:
    std::string m_saved;
};

TEST_F(ToAnsiTest, UsesTheLocaleCharacterSet) {
    std::string out;
    EXPECT_EQ(ToAnsi(u"COM1", out), 4);
    EXPECT_EQ(out, "COM1");
    EXPECT_EQ(ToAnsi(u"", out), 0);
    EXPECT_TRUE(out.empty());

    if (!std::setlocale(LC_CTYPE, "C.UTF-8")) GTEST_SKIP() << "no C.UTF-8 locale";
    EXPECT_EQ(ToAnsi(u"/dev/\uD55C", out), 8);
    EXPECT_EQ(out, "/dev/\xED\x95\x9C");

    ASSERT_TRUE(std::setlocale(LC_CTYPE, "C"));
    EXPECT_EQ(ToAnsi(u"a\uD55Cb", out), 3);  // ASCII has no form for it
    EXPECT_EQ(out, "a?b");
}

}  // namespace
