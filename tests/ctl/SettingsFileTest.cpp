#include "ctl/SettingsFile.h"

#include <gtest/gtest.h>

#include <fstream>

#include "ctl/CtlArgs.h"
#include "tests/support/TempDir.h"

namespace tarnel::ctl {
namespace {

class SettingsFileTest : public ::testing::Test {
protected:
    std::string Write(const std::string& name, const std::string& text) {
        const std::string path = (m_dir.Path() / name).string();
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    test::TempDir m_dir{"tarnel-settings"};
};

TEST_F(SettingsFileTest, EveryBadFieldIsRefusedWithItsLineBeforeAnythingIsTouched) {
    struct Case {
        std::string file;
        std::string text;
        std::string error;  // after "FILE:"
    };
    const std::vector<Case> cases{
        {"a.toml", "name = \"S{n}\"\nmode = 7\n", "2: The operation mode must be 0, 1, 2 or 3, not '7'."},
        {"a.toml", "\n\nmode = \"1\"\n", "3: mode must be a whole number."},
        {"a.toml", "first = true\n", "1: first must be a whole number."},
        {"a.toml", "name = 5\n", "1: name must be text in quotes."},
        {"a.toml", "responses = 1\n", "1: responses must be true or false (or \"on\" or \"off\")."},
        {"a.toml", "name = \"S{n}\"\ncolour = 1\n",
         "2: Unknown field 'colour' (the fields are name, uart, mode, target, responses, first)."},
        {"a.toml", "uart = \"4800,N,1\"\n",
         "1: The baud rate must be one of 9600, 19200, 38400, 57600, 115200, 230400, 460800, not '4800'."},
        {"a.toml", "name = \"a,{n}\"\n",
         "1: The device name must not contain commas or control characters. (the pattern gives 'a,1')"},
        {"a.toml", "target = \"000000000000\"\nname = \"x\n", "2: Not TOML:"},
        {"a.json", "{\n  \"name\": \"S{n}\",\n  \"responses\": \"maybe\"\n}",
         "3: --responses must be on or off, not 'maybe'."},
        {"a.json", "{\n  \"name\": \"mode\",\n  \"mode\": 1.5\n}", "3: mode must be a whole number."},
        {"a.json", "{\n  \"name\": \"S{n}\"\n  \"mode\": 1\n}", "3: Not JSON:"},
        {"a.json", "[1]", "1: The settings must be one JSON object."},
    };
    for (const Case& c : cases) {
        const std::string path = Write(c.file, c.text);
        const std::string error = ParseCtlArgs({"provision", "--watch", "--settings", path}).error;
        EXPECT_EQ(error.rfind(path + ":" + c.error, 0), 0u) << c.text << "\n" << error;
    }
    // A field the command does not take.
    const std::string first = Write("b.toml", "name = \"S\"\nfirst = 2\n");
    EXPECT_EQ(ParseCtlArgs({"set", "p", "--settings", first}).error,
              first + ":2: The command set does not take first.");
    EXPECT_NE(ParseCtlArgs({"set", "p", "--settings", Write("c.toml", std::string(70000, '#'))})
                  .error.find("larger"),
              std::string::npos);
}

TEST_F(SettingsFileTest, TheFileGivesWhatTheOptionsDoNotAndNamesItsDigest) {
    const std::string toml = Write("line.toml", "mode = 1\n");
    const std::string json = Write("line.json",
                                   "{\"name\": \"Node-{n:02}\", \"uart\": \"115200,N,1,on\", \"mode\": 2, "
                                   "\"responses\": false, \"first\": 5}");
    const CtlArgs fromToml = ParseCtlArgs({"provision", "--watch", "--settings", toml});
    ASSERT_EQ(fromToml.error, "");
    EXPECT_EQ(fromToml.settings.opMode, 1);
    EXPECT_EQ(fromToml.settingsPath, toml);
    EXPECT_EQ(fromToml.settingsSha256, "e757fcbe0da9de1dfe6ff426c5e47f1ad9f343f3934d39f627d99378852d4ee4");

    const CtlArgs fromJson =
        ParseCtlArgs({"provision", "--watch", "--settings", json, "--first", "9", "-m3"});
    ASSERT_EQ(fromJson.error, "");
    EXPECT_EQ(fromJson.namePattern->Expand(fromJson.first, BdAddr{}), "Node-09");
    EXPECT_EQ(fromJson.settings.uart, (UartSettings{{115200, 'N', 1}, true}));
    EXPECT_EQ(fromJson.settings.opMode, 3);
    EXPECT_EQ(fromJson.settings.responses, false);

    const std::string empty = Write("empty.toml", "");
    EXPECT_EQ(ParseCtlArgs({"set", "p", "--settings", empty, "--mode", "1"}).settingsSha256,
              "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
}

}  // namespace
}  // namespace tarnel::ctl
