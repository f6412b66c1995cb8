#include "sim/SimArgs.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace tarnel::sim {
namespace {

using namespace std::chrono_literals;

TEST(SimArgs, DefaultsMakeTheDemonstrationModule) {
    const SimArgs args = ParseSimArgs({});
    ASSERT_EQ(args.error, "");
    EXPECT_EQ(args.config.settings.uart, (UartSettings{{9600, 'N', 1}, 0}));
    EXPECT_EQ(args.config.state, ModuleState::Idle);
    EXPECT_FALSE(args.config.settings.quietMode);
    ASSERT_EQ(args.config.devices.size(), 3u);
    bool nonAscii = false;
    for (const auto& device : args.config.devices)
        for (unsigned char c : device.name)
            nonAscii = nonAscii || c >= 0x80;
    EXPECT_TRUE(nonAscii);
    EXPECT_TRUE(args.publish);
    EXPECT_EQ(args.linkName, "tarnel-sim");
    EXPECT_FALSE(args.help);
}

TEST(SimArgs, SettingsAndStateFlags) {
    const SimArgs args =
        ParseSimArgs({"--name", "Kim's 모듈", "--address=A1B2C3D4E5F6", "--uart", "115200,e,2,1", "--opmode",
                      "3", "--quiet", "--target", "0a0b0c0d0e0f", "--state", "connected", "--peer",
                      "111111111111", "--model", "M", "--version=v2"});
    ASSERT_EQ(args.error, "");
    EXPECT_EQ(args.config.settings.name, "Kim's 모듈");
    EXPECT_EQ(args.config.address, (BdAddress{0xA1, 0xB2, 0xC3, 0xD4, 0xE5, 0xF6}));
    EXPECT_EQ(args.config.settings.uart, (UartSettings{{115200, 'E', 2}, 1}));
    EXPECT_EQ(args.config.settings.opMode, 3);
    EXPECT_TRUE(args.config.settings.quietMode);
    EXPECT_EQ(args.config.settings.target, (BdAddress{0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x0F}));
    EXPECT_EQ(args.config.state, ModuleState::Connected);
    EXPECT_EQ(args.config.peer, (BdAddress{0x11, 0x11, 0x11, 0x11, 0x11, 0x11}));
    EXPECT_EQ(args.config.modelName, "M");
    EXPECT_EQ(args.config.version, "v2");
    // Factory settings stay what a fresh module has.
    EXPECT_EQ(args.config.factory, ModuleSettings{});
}

TEST(SimArgs, UartFlowControlDefaultsToOff) {
    EXPECT_EQ(ParseSimArgs({"--uart", "19200,O,1"}).config.settings.uart, (UartSettings{{19200, 'O', 1}, 0}));
}

TEST(SimArgs, DevicesReplaceTheDemonstrationOnesAndNamesMayHoldCommas) {
    const SimArgs args = ParseSimArgs({"--device", "001122334455,-40,5a020c,1200,Phone, the old one",
                                       "--device", "66778899AABB,-90,0x1F00,3000,Scanner"});
    ASSERT_EQ(args.error, "");
    ASSERT_EQ(args.config.devices.size(), 2u);
    const NearbyDevice& first = args.config.devices[0];
    EXPECT_EQ(first.address, (BdAddress{0x00, 0x11, 0x22, 0x33, 0x44, 0x55}));
    EXPECT_EQ(first.rssi, -40);
    EXPECT_EQ(first.classOfDevice, 0x5A020Cu);
    EXPECT_EQ(first.reportAfter, 1200ms);
    EXPECT_EQ(first.name, "Phone, the old one");
    EXPECT_EQ(args.config.devices[1].classOfDevice, 0x1F00u);
    EXPECT_TRUE(ParseSimArgs({"--no-devices"}).config.devices.empty());
}

TEST(SimArgs, BehaviourKnobs) {
    const SimArgs args = ParseSimArgs({"--reply-delay",
                                       "40",
                                       "--disc-delay=250",
                                       "--inquiry-time",
                                       "9000",
                                       "--pace",
                                       "--no-ok-after-data",
                                       "--silent",
                                       "at+ver?",
                                       "--silent",
                                       "ATZ",
                                       "--error",
                                       "AT+NAME",
                                       "--reply",
                                       "at+qm?=\\r\\n+QM;1\\r\\n\\x00",
                                       "--hang-up-after",
                                       "100",
                                       "--link",
                                       "bench-sim",
                                       "--no-log",
                                       "--delay",
                                       "at+disc=1500",
                                       "--line-gap=30",
                                       "--ok-delay",
                                       "120",
                                       "--inquiry-ok",
                                       "--error",
                                       "at+disc"});
    ASSERT_EQ(args.error, "");
    EXPECT_EQ(args.config.replyDelay, 40ms);
    EXPECT_EQ(args.config.discReportDelay, 250ms);
    EXPECT_EQ(args.config.inquiryTime, 9000ms);
    EXPECT_TRUE(args.config.paceOutput);
    EXPECT_FALSE(args.config.okAfterData);
    EXPECT_EQ(args.config.silentCommands, (std::set<std::string>{"AT+VER?", "ATZ"}));
    EXPECT_EQ(args.config.errorCommands, (std::set<std::string>{"AT+NAME", "AT+DISC"}));
    EXPECT_EQ(args.config.commandDelays, (std::map<std::string, Duration>{{"AT+DISC", 1500ms}}));
    EXPECT_EQ(args.config.lineGap, 30ms);
    EXPECT_EQ(args.config.okDelay, 120ms);
    EXPECT_TRUE(args.config.inquiryOk);
    EXPECT_EQ(args.config.replyOverrides.at("AT+QM?"), std::string("\r\n+QM;1\r\n\0", 10));
    EXPECT_EQ(args.config.hangUpAfterBytes, 100u);
    EXPECT_EQ(args.linkName, "bench-sim");
    EXPECT_FALSE(args.logCommands);
    EXPECT_FALSE(ParseSimArgs({"--no-link"}).publish);
    EXPECT_TRUE(ParseSimArgs({"--help"}).help);
}

// Every field away from its default, with bytes that need escaping, goes
// through the flags and comes back.
TEST(SimArgs, FormattedFlagsGiveTheConfigBack) {
    SimConfig config;
    config.address = {0xA1, 0xB2, 0xC3, 0xD4, 0xE5, 0xF6};
    config.modelName = "M 2";
    config.version = "v=3";
    config.settings = {"Kim's 모듈", {{115200, 'E', 2}, 1}, 2, true, {1, 2, 3, 4, 5, 6}};
    config.state = ModuleState::Connecting;
    config.peer = {6, 5, 4, 3, 2, 1};
    config.devices = {{{0, 0x11, 0x22, 0x33, 0x44, 0x55}, "Phone, old", -128, 0x5A020C, 1200ms},
                      {{0x66, 0x77, 0x88, 0x99, 0xAA, 0xBB}, "", 127, 0x1F00, 0ms}};
    config.inquiryTime = 9000ms;
    config.replyDelay = 40ms;
    config.commandDelays = {{"AT+DISC", 1500ms}, {"AT+VER?", 2ms}};
    config.lineGap = 30ms;
    config.okDelay = 120ms;
    config.inquiryOk = true;
    config.discReportDelay = 250ms;
    config.okAfterData = false;
    config.paceOutput = true;
    config.silentCommands = {"AT+VER?", "ATZ"};
    config.errorCommands = {"AT+NAME"};
    config.replyOverrides = {{"AT+QM?", std::string("\r\n+QM;1\r\n\\\x00\x7F한\t", 16)}};
    config.hangUpAfterBytes = 999'999'999'999ULL;

    const SimArgs args = ParseSimArgs(FormatSimArgs(config));
    ASSERT_EQ(args.error, "");
    const SimConfig& back = args.config;
    EXPECT_EQ(back.address, config.address);
    EXPECT_EQ(back.modelName, config.modelName);
    EXPECT_EQ(back.version, config.version);
    EXPECT_EQ(back.settings, config.settings);
    EXPECT_EQ(back.factory, config.factory);
    EXPECT_EQ(back.state, config.state);
    EXPECT_EQ(back.peer, config.peer);
    ASSERT_EQ(back.devices.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(back.devices[i].address, config.devices[i].address);
        EXPECT_EQ(back.devices[i].name, config.devices[i].name);
        EXPECT_EQ(back.devices[i].rssi, config.devices[i].rssi);
        EXPECT_EQ(back.devices[i].classOfDevice, config.devices[i].classOfDevice);
        EXPECT_EQ(back.devices[i].reportAfter, config.devices[i].reportAfter);
    }
    EXPECT_EQ(back.inquiryTime, config.inquiryTime);
    EXPECT_EQ(back.replyDelay, config.replyDelay);
    EXPECT_EQ(back.commandDelays, config.commandDelays);
    EXPECT_EQ(back.lineGap, config.lineGap);
    EXPECT_EQ(back.okDelay, config.okDelay);
    EXPECT_EQ(back.inquiryOk, config.inquiryOk);
    EXPECT_EQ(back.discReportDelay, config.discReportDelay);
    EXPECT_EQ(back.okAfterData, config.okAfterData);
    EXPECT_EQ(back.paceOutput, config.paceOutput);
    EXPECT_EQ(back.silentCommands, config.silentCommands);
    EXPECT_EQ(back.errorCommands, config.errorCommands);
    EXPECT_EQ(back.replyOverrides, config.replyOverrides);
    EXPECT_EQ(back.hangUpAfterBytes, config.hangUpAfterBytes);

    // A default config keeps the demonstration devices; no devices stay none.
    EXPECT_EQ(ParseSimArgs(FormatSimArgs({})).config.devices.size(), 3u);
    config.devices.clear();
    EXPECT_TRUE(ParseSimArgs(FormatSimArgs(config)).config.devices.empty());
    config.factory.opMode = 1;
    EXPECT_THROW(FormatSimArgs(config), std::invalid_argument);
}

struct BadArgs {
    std::vector<std::string> args;
    std::string mentions;
};

class SimArgsRejects : public ::testing::TestWithParam<BadArgs> {};

TEST_P(SimArgsRejects, WithAnErrorThatNamesTheProblem) {
    const SimArgs args = ParseSimArgs(GetParam().args);
    EXPECT_NE(args.error.find(GetParam().mentions), std::string::npos) << args.error;
}

INSTANTIATE_TEST_SUITE_P(
    BadCommandLines, SimArgsRejects,
    ::testing::Values(
        BadArgs{{"--bogus"}, "unknown flag '--bogus'"}, BadArgs{{"-x"}, "unknown flag '-x'"},
        BadArgs{{"extra"}, "unexpected argument 'extra'"}, BadArgs{{"--name"}, "--name needs a value"},
        BadArgs{{"--quiet=1"}, "--quiet takes no value"},
        BadArgs{{"--name", std::string(33, 'n')}, "1 to 32 bytes"}, BadArgs{{"--name", "a,b"}, "comma"},
        BadArgs{{"--name="}, "1 to 32 bytes"}, BadArgs{{"--address", "0011223344"}, "12 hexadecimal digits"},
        BadArgs{{"--uart", "9600,N"}, "BAUD,PARITY,STOPBITS"},
        BadArgs{{"--uart", "9600,Z,1,0"}, "BAUD,PARITY,STOPBITS"},
        BadArgs{{"--uart", "9600,N,1,2"}, "BAUD,PARITY,STOPBITS"},
        BadArgs{{"--uart", "14400,N,1,0"}, "no baud rate 14400"}, BadArgs{{"--opmode", "4"}, "0 to 3"},
        BadArgs{{"--state", "SLEEPING"}, "IDLE"},
        BadArgs{{"--device", "001122334455,-40,5A020C,1200"}, "ADDRESS,RSSI,COD,MS,NAME"},
        BadArgs{{"--device", "001122334455,-400,5A020C,1200,x"}, "RSSI"},
        BadArgs{{"--device", "001122334455,-40,1000000,1200,x"}, "class of device"},
        BadArgs{{"--device", "00112233445,-40,1F00,1200,x"}, "address"},
        BadArgs{{"--device", "001122334455,-40,1F00,soon,x"}, "report time"},
        BadArgs{{"--reply-delay", "-1"}, "milliseconds"}, BadArgs{{"--reply-delay", "1s"}, "milliseconds"},
        BadArgs{{"--reply", "AT+VER?"}, "COMMAND=BYTES"}, BadArgs{{"--reply", "AT=\\q"}, "bad escape"},
        BadArgs{{"--reply", "AT=\\x4"}, "bad escape"}, BadArgs{{"--hang-up-after", "0"}, "positive"},
        BadArgs{{"--delay", "AT+DISC"}, "COMMAND=MS"}, BadArgs{{"--delay", "=5"}, "COMMAND=MS"},
        BadArgs{{"--delay", "AT=-5"}, "COMMAND=MS"}, BadArgs{{"--silent", ""}, "command name"},
        BadArgs{{"--link", "a/b"}, "file name"}));

}  // namespace
}  // namespace tarnel::sim
