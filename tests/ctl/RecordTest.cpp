#include "ctl/Record.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

namespace tarnel::ctl {
namespace {

Record Sample(const std::string& name) {
    Record record;
    record.AddText("port", "/dev/ttyUSB0")
        .AddText("name", name)
        .AddNumber("rssi", -67)
        .AddFlag("responses", true);
    return record;
}

TEST(Record, TextHasTheFirstValueAsHeadingAndJsonIsOneLine) {
    EXPECT_EQ(Sample("Bob").Text(), "/dev/ttyUSB0\n  name: Bob\n  rssi: -67\n  responses: yes\n");
    EXPECT_EQ(Sample("Bob").Json(), R"({"port":"/dev/ttyUSB0","name":"Bob","rssi":-67,"responses":true})"
                                    "\n");
    EXPECT_EQ(Record().Json(), "{}\n");
}

TEST(Record, NoValueCanBreakALineOrSteerTheTerminal) {
    const std::string hostile = "a\nb\x1b[2J\xFF";
    EXPECT_EQ(Sample(hostile).Text(),
              "/dev/ttyUSB0\n  name: a\\x0Ab\\x1B[2J\\xFF\n  rssi: -67\n  responses: yes\n");
    EXPECT_EQ(Sample(hostile).Json(), R"({"port":"/dev/ttyUSB0","name":"a\nb\u001b[2J)"
                                      "\xEF\xBF\xBD"
                                      R"(","rssi":-67,"responses":true})"
                                      "\n");
}

TEST(Record, JsonEscapesWhatJsonRequiresAndReplacesEveryByteOutsideUtf8) {
    using namespace std::string_literals;
    const std::string fffd = "\xEF\xBF\xBD";
    const std::pair<std::string, std::string> cases[] = {
        {"", R"("")"},
        {"a\"b\\c/d", R"("a\"b\\c/d")"},
        {"\b\f\n\r\t", R"("\b\f\n\r\t")"},
        {"\x01\x1f"s, R"("\u0001\u001f")"},
        {"a\0b"s, R"("a\u0000b")"},
        // Two-, three- and four-byte characters, the largest code point included.
        {"é센서😀\xF4\x8F\xBF\xBF", "\"é센서😀\xF4\x8F\xBF\xBF\""},
        {"\x80", "\"" + fffd + "\""},                        // a stray continuation byte
        {"a\xC3", "\"a" + fffd + "\""},                      // cut off at the end
        {"\xC3(", "\"" + fffd + "(\""},                      // cut off by another character
        {"\xED\xA0\x80", "\"" + fffd + fffd + fffd + "\""},  // a surrogate
        {"ok\xFF\"", "\"ok" + fffd + "\\\"\""},
    };
    for (const auto& [bytes, json] : cases)
        EXPECT_EQ(Record().AddText("k", bytes).Json(), "{\"k\":" + json + "}\n")
            << testing::PrintToString(bytes);

    // Every byte value, in the key and in the value: a strict parser reads the
    // line back, and what was well-formed comes back as it was.
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    const auto parsed = nlohmann::json::parse(Record().AddText(all, all).Json());
    const std::string back = parsed.begin().value().get<std::string>();
    EXPECT_EQ(back.substr(0, 128), all.substr(0, 128));
    EXPECT_EQ(parsed.begin().key(), back);
}

TEST(Record, CsvQuotesAsRfc4180AsksAndKeepsEveryRecordOnOneLine) {
    Record record;
    record.AddText("a,b", "x,y")
        .AddText("q", "say \"hi\"")
        .AddText("s", " pad")
        .AddNumber("d", 5)
        .AddText("c", "a\nb");
    EXPECT_EQ(record.CsvHeader(), "\"a,b\",q,s,d,c\r\n");
    EXPECT_EQ(record.Csv(), "\"x,y\",\"say \"\"hi\"\"\",\" pad\",5,a\\x0Ab\r\n");
}

}  // namespace
}  // namespace tarnel::ctl
