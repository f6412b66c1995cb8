#include "ctl/CtlArgs.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarnel::ctl {
namespace {

CtlArgs Parse(std::vector<std::string> args) {
    return ParseCtlArgs(args);
}

// The error of a command line, or "" when it is accepted.
std::string ErrorOf(std::vector<std::string> args) {
    return ParseCtlArgs(args).error;
}

TEST(CtlArgs, CommandsWithTheirPortAndDefaults) {
    const CtlArgs info = Parse({"info", "/dev/ttyUSB0"});
    ASSERT_EQ(info.error, "");
    EXPECT_EQ(info.command, Command::Info);
    EXPECT_EQ(info.port, "/dev/ttyUSB0");
    EXPECT_EQ(info.line, (LineSettings{9600, 'N', 1}));
    EXPECT_FALSE(info.lineAuto);
    EXPECT_FALSE(info.json);

    EXPECT_EQ(Parse({"ports"}).command, Command::Ports);
    EXPECT_EQ(Parse({"find", "p"}).command, Command::Find);
    EXPECT_EQ(Parse({"reset", "p", "--yes"}).yes, true);
    const CtlArgs search = Parse({"search", "p", "--seconds=15", "--json"});
    EXPECT_EQ(search.seconds, 15u);
    EXPECT_TRUE(search.json);
    // Options may come before the command, and the port after the options.
    const CtlArgs early = Parse({"--json", "info", "--line", "115200,e,2", "p"});
    ASSERT_EQ(early.error, "");
    EXPECT_EQ(early.port, "p");
    EXPECT_EQ(early.line, (LineSettings{115200, 'E', 2}));
    EXPECT_TRUE(Parse({"info", "p", "--line", "auto"}).lineAuto);
    EXPECT_TRUE(Parse({"--progress", "json", "info", "p"}).progressJson);
    EXPECT_TRUE(Parse({"set", "p", "-m1", "--dry-run"}).dryRun);
    EXPECT_TRUE(Parse({"provision", "--port", "p", "-m1", "--verify-only"}).verifyOnly);
}

TEST(CtlArgs, SetTakesEveryGivenSettingAndNothingElse) {
    const CtlArgs set = Parse({"set", "p", "--name", "Sensor 7", "--uart", "57600,O,2,on", "--mode", "3",
                               "--target", " 0011223344aa ", "--responses", "off"});
    ASSERT_EQ(set.error, "");
    EXPECT_EQ(set.settings.name, "Sensor 7");
    EXPECT_EQ(set.settings.uart, (UartSettings{{57600, 'O', 2}, true}));
    EXPECT_EQ(set.settings.opMode, 3);
    BdAddr target;
    ASSERT_TRUE(ParseBdAddr("0011223344AA", target));
    EXPECT_EQ(set.settings.target, target);
    EXPECT_EQ(set.settings.responses, false);

    const CtlArgs nameOnly = Parse({"set", "p", "--name=x"});
    EXPECT_EQ(nameOnly.settings.name, "x");
    EXPECT_FALSE(nameOnly.settings.uart || nameOnly.settings.opMode || nameOnly.settings.target ||
                 nameOnly.settings.responses);
    EXPECT_EQ(Parse({"set", "p", "--mode", "0"}).settings.opMode, 0);
}

TEST(CtlArgs, TypedValuesAreCheckedAsTheConfiguratorChecksThem) {
    EXPECT_EQ(ErrorOf({"set", "p", "--name", ""}), "The device name is empty.");
    EXPECT_EQ(ErrorOf({"set", "p", "--name", std::string(33, 'a')}), "The device name is too long.");
    EXPECT_EQ(ErrorOf({"set", "p", "--name", std::string(32, 'a')}), "");
    EXPECT_EQ(ErrorOf({"set", "p", "--name", "a,b"}),
              "The device name must not contain commas or control characters.");
    EXPECT_EQ(ErrorOf({"set", "p", "--name", "a\rAT&F"}),
              "The device name must not contain commas or control characters.");
    for (const char* target :
         {"00:11:22:33:44:AA", "0011223344A", "0011223344AG", "000000000000", "ffffffffffff"})
        EXPECT_NE(ErrorOf({"set", "p", "--target", target}).find("destination device is incorrect"),
                  std::string::npos)
            << target;
    // An unset address cannot be written: the message says what clears a target.
    EXPECT_NE(
        ErrorOf({"set", "p", "--target", "000000000000"}).find("only by a factory reset ('tarnelctl reset')"),
        std::string::npos);
    EXPECT_EQ(ErrorOf({"set", "p", "--uart", "4800,N,1"}),
              "The baud rate must be one of 9600, 19200, 38400, 57600, 115200, 230400, 460800, not '4800'.");
    EXPECT_EQ(ErrorOf({"set", "p", "--uart", "9600,N,1,maybe"}),
              "The flow control must be on or off (or 1 or 0), not 'maybe'.");
    EXPECT_EQ(ErrorOf({"set", "p", "--name", "\xFF\xFE"}), "The device name must be UTF-8 text.");
    EXPECT_EQ(ErrorOf({"provision", "--watch", "--name", "a\xC3{n}"}), "The device name must be UTF-8 text.");
    for (const char* mode : {"4", "-1", "", "1.5", " 1"})
        EXPECT_NE(ErrorOf({"set", "p", "--mode", mode}), "") << mode;
    EXPECT_NE(ErrorOf({"set", "p", "--responses", "yes"}), "");
    EXPECT_NE(ErrorOf({"info", "p", "--line", "9600,N,1,on"}), "");
    EXPECT_NE(ErrorOf({"search", "p", "--seconds", "0"}), "");
    EXPECT_NE(ErrorOf({"search", "p", "--seconds", "99999999999999999999999"}), "");
}

TEST(CtlArgs, CommandLinesThatMakeNoSenseAreRefused) {
    EXPECT_EQ(ErrorOf({}), "No command given.");
    EXPECT_EQ(ErrorOf({"fetch"}), "Unknown command 'fetch'.");
    EXPECT_EQ(ErrorOf({"info"}), "The command info needs a PORT ('tarnelctl ports' lists them).");
    EXPECT_EQ(ErrorOf({"info", "a", "b"}), "Unexpected argument 'b'.");
    EXPECT_EQ(ErrorOf({"ports", "p"}), "Unexpected argument 'p'.");
    EXPECT_EQ(ErrorOf({"info", "p", "--colour"}), "Unknown option '--colour'.");
    EXPECT_EQ(ErrorOf({"info", "p", "--yes"}), "The command info does not take --yes.");
    EXPECT_EQ(ErrorOf({"find", "p", "--line", "auto"}), "The command find does not take --line.");
    EXPECT_EQ(ErrorOf({"info", "p", "--line", "9600,N,1", "--line=9600,N,1"}),
              "The option --line is given twice.");
    EXPECT_EQ(ErrorOf({"info", "p", "--line"}), "The option --line needs a value.");
    EXPECT_EQ(ErrorOf({"--line", "9600,N,1", "info", "p"}), "The option --line goes after the command.");
    EXPECT_EQ(ErrorOf({"provision", "--port", "p", "--mode", "1", "--ports", "*"}),
              "--ports chooses among the ports that --watch finds.");
    EXPECT_EQ(ErrorOf({"set", "p"}), "Nothing to set: give --name, --uart, --mode, --target or --responses.");
    EXPECT_EQ(ErrorOf({"provision", "--mode", "1"}),
              "The command provision needs either --port PORT or --watch.");
    EXPECT_EQ(ErrorOf({"provision", "--mode", "1", "--port", "p", "--watch"}),
              "The command provision needs either --port PORT or --watch.");
    EXPECT_EQ(ErrorOf({"info", "p", "--progress", "bar"}), "--progress must be line or json, not 'bar'.");
    EXPECT_EQ(ErrorOf({"set", "p", "-m1", "--verify-only"}), "The command set does not take --verify-only.");
    EXPECT_EQ(ErrorOf({"provision", "--port", "p", "-m1", "--verify-only", "--dry-run"}),
              "--verify-only and --dry-run do not go together.");
}

TEST(CtlArgs, ProvisionReadsItsNameAsAPatternCheckedFromTheFirstNumber) {
    const CtlArgs args = Parse({"provision", "--watch", "--name", "Sensor-{n:03}", "--first", "7"});
    ASSERT_EQ(args.error, "");
    ASSERT_TRUE(args.namePattern);
    EXPECT_EQ(args.namePattern->Expand(args.first, BdAddr{}), "Sensor-007");
    EXPECT_EQ(Parse({"provision", "--watch", "--name", "S{n}"}).first, 1u);

    EXPECT_NE(ErrorOf({"provision", "--watch", "--name", "Sensor-{m}"}), "");
    EXPECT_EQ(ErrorOf({"provision", "--watch", "--name", "{n},x"}),
              "The device name must not contain commas or control characters. (the pattern gives '1,x')");
    EXPECT_EQ(ErrorOf({"provision", "--watch", "--name", std::string(31, 'a') + "{n}", "--first", "10"}),
              "The device name is too long. (the pattern gives '" + std::string(31, 'a') + "10')");
    // In set the braces are the name itself.
    EXPECT_EQ(Parse({"set", "p", "--name", "{m}"}).settings.name, "{m}");
}

TEST(CtlArgs, HelpAndVersionWinOverEverythingElse) {
    EXPECT_TRUE(Parse({"--help"}).help);
    EXPECT_EQ(Parse({"--help"}).command, Command::None);
    // After a command, the help is that command's.
    EXPECT_TRUE(Parse({"set", "-h"}).help);
    EXPECT_EQ(Parse({"-j", "set", "--bogus", "-h"}).command, Command::Set);
    EXPECT_TRUE(Parse({"bogus", "--version"}).version);
    EXPECT_TRUE(Parse({"-V"}).version);
    EXPECT_EQ(Parse({"bogus", "--help"}).error, "");
}

TEST(CtlArgs, ShortFormsAndTheEndOfOptionsReadAsTheSerialToolsReadThem) {
    const CtlArgs set =
        Parse({"set", "-n", "Bob", "-u115200,N,1,1", "-m", "2", "-r", "off", "-j", "-v", "p"});
    ASSERT_EQ(set.error, "");
    EXPECT_EQ(set.settings.name, "Bob");
    EXPECT_EQ(set.settings.uart, (UartSettings{{115200, 'N', 1}, true}));
    EXPECT_EQ(set.settings.opMode, 2);
    EXPECT_EQ(set.settings.responses, false);
    EXPECT_TRUE(set.json);
    EXPECT_TRUE(set.trace);
    EXPECT_EQ(Parse({"provision", "-w", "-f", "5", "-n", "S{n}", "-l", "auto"}).first, 5u);
    EXPECT_TRUE(Parse({"reset", "p", "-y"}).yes);
    EXPECT_EQ(Parse({"search", "p", "-s3"}).seconds, 3u);
    EXPECT_TRUE(Parse({"info", "p", "--trace"}).trace);

    // After "--" a word that looks like an option is the PORT, and -h or -V
    // there ask for nothing.
    const CtlArgs dashed = Parse({"info", "--json", "--", "-odd-port"});
    ASSERT_EQ(dashed.error, "");
    EXPECT_EQ(dashed.port, "-odd-port");
    EXPECT_TRUE(dashed.json);
    EXPECT_EQ(Parse({"info", "--", "-h"}).port, "-h");
    EXPECT_FALSE(Parse({"info", "--", "-V"}).version);

    EXPECT_EQ(ErrorOf({"info", "p", "-x"}), "Unknown option '-x'.");
    EXPECT_EQ(ErrorOf({"info", "p", "-y"}), "The command info does not take --yes.");
    EXPECT_EQ(ErrorOf({"info", "p", "-jy"}), "The command info does not take --yes.");
    EXPECT_EQ(ErrorOf({"info", "p", "-l"}), "The option --line needs a value.");

    // Flags group, also with a short option that takes its value last.
    const CtlArgs grouped = Parse({"provision", "-jvwm1", "--ports", "*usb*", "--ports=mod?"});
    ASSERT_EQ(grouped.error, "");
    EXPECT_TRUE(grouped.json && grouped.trace && grouped.watch);
    EXPECT_EQ(grouped.settings.opMode, 1);
    EXPECT_EQ(grouped.portGlobs, (std::vector<std::string>{"*usb*", "mod?"}));
    EXPECT_EQ(ErrorOf({"set", "p", "-jm4"}), "The operation mode must be 0, 1, 2 or 3, not '4'.");
}

}  // namespace
}  // namespace tarnel::ctl
