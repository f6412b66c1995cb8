#include "ctl/Record.h"

#include <gtest/gtest.h>

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
    EXPECT_EQ(Sample(hostile).Json(),
              R"({"port":"/dev/ttyUSB0","name":"a\nb\u001b[2J\ufffd","rssi":-67,"responses":true})"
              "\n");
}

}  // namespace
}  // namespace tarnel::ctl
