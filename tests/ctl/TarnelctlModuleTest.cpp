// tarnelctl's module commands through the executable against simulated
// modules on pseudo-terminals: what each prints in both formats, its exit
// status, and what it leaves the module as.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "ctl/ExitStatus.h"
#include "sim/PtyModule.h"
#include "tests/ctl/Tarnelctl.h"
#include "tests/support/PtyPair.h"
#include "tests/support/WaitUntil.h"

namespace tarnel::ctl {
namespace {

using namespace std::chrono_literals;
using sim::PtyModule;
using sim::SimConfig;
using test::WaitUntil;

class TarnelctlModuleTest : public ::testing::Test {
protected:
    // Starts a simulated module and publishes it as the virtual port `name`.
    std::string Serve(SimConfig config, const std::string& name = "sim") {
        m_sims.push_back(std::make_unique<PtyModule>(std::move(config)));
        EXPECT_FALSE(m_sims.back()->Start());
        return m_tarnelctl.Publish(name, m_sims.back()->SlavePath());
    }
    PtyModule& Sim(std::size_t i = 0) { return *m_sims[i]; }
    int Sent(const std::string& command, std::size_t i = 0) {
        const auto commands = Sim(i).Commands();
        return static_cast<int>(std::count(commands.begin(), commands.end(), command));
    }

    Tarnelctl m_tarnelctl;
    std::vector<std::unique_ptr<PtyModule>> m_sims;
};

SimConfig Configured() {
    SimConfig config;
    config.settings.name = "Bench-7";
    config.settings.opMode = 3;
    config.settings.uart.flowControl = 1;
    config.settings.target = {0xA1, 0xB2, 0xC3, 0xD4, 0xE5, 0xF6};
    return config;
}

TEST_F(TarnelctlModuleTest, InfoPrintsEverythingTheModuleHoldsAsTextAndAsJson) {
    const std::string port = Serve(Configured());

    const CtlRun text = m_tarnelctl({"info", port});
    EXPECT_EQ(text.exit, EXIT_DONE) << text.err;
    EXPECT_EQ(text.err, "");
    EXPECT_EQ(text.out, port +
                            "\n  model: TARNEL-BT1\n  firmware: 1.2.0\n  address: 001A7DDA7113\n"
                            "  name: Bench-7\n  mode: 3\n  state: idle\n  uart: 9600,N,1\n"
                            "  flow-control: yes\n  responses: yes\n  target: A1B2C3D4E5F6\n");

    const CtlRun json = m_tarnelctl({"info", port, "--json"});
    EXPECT_EQ(json.exit, EXIT_DONE);
    EXPECT_EQ(json.out, "{\"port\":\"" + port +
                            "\",\"model\":\"TARNEL-BT1\",\"firmware\":\"1.2.0\",\"address\":\"001A7DDA7113\","
                            "\"name\":\"Bench-7\",\"mode\":3,\"state\":\"idle\",\"uart\":\"9600,N,1\","
                            "\"flow-control\":true,\"responses\":true,\"target\":\"A1B2C3D4E5F6\"}\n");
    EXPECT_EQ(Sim().Snapshot().current, Configured().settings) << "a read changes nothing";
}

TEST_F(TarnelctlModuleTest, InfoSwitchesResponsesBackOnAndSaysSo) {
    SimConfig config;
    config.settings.quietMode = true;
    const std::string port = Serve(config);

    const CtlRun run = m_tarnelctl({"info", port, "--json"});
    EXPECT_EQ(run.exit, EXIT_DONE) << run.err;
    EXPECT_NE(run.err.find("Command response is disabled"), std::string::npos) << run.err;
    EXPECT_NE(run.out.find("\"responses\":true"), std::string::npos) << run.out;
    EXPECT_FALSE(Sim().Snapshot().current.quietMode);
}

TEST_F(TarnelctlModuleTest, SetKeepsWhatIsNotGivenAndReadsBackAtTheNewUart) {
    const std::string port = Serve(Configured());

    const CtlRun run = m_tarnelctl({"set", port, "--name", "Line-2", "--uart", "115200,E,2", "--json"});
    ASSERT_EQ(run.exit, EXIT_DONE) << run.err;
    EXPECT_EQ(run.err, "tarnelctl: " + port + ": Device setting has been completed.\n");
    EXPECT_NE(run.out.find("\"name\":\"Line-2\",\"mode\":3,"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"uart\":\"115200,E,2\",\"flow-control\":false,"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"target\":\"A1B2C3D4E5F6\""), std::string::npos) << run.out;

    const auto module = Sim().Snapshot();
    EXPECT_EQ(module.current.name, "Line-2");
    EXPECT_EQ(module.current.uart.line, (sim::LineSettings{115200, 'E', 2}));
    EXPECT_EQ(module.current.opMode, 3);
    EXPECT_EQ(module.resets, 1);
    EXPECT_TRUE(module.hostLineMatches) << "the read back ran at the module's new settings";

    // Found again at its new settings, the module keeps what it was given.
    const CtlRun info = m_tarnelctl({"info", port, "--line", "115200,E,2"});
    EXPECT_EQ(info.exit, EXIT_DONE) << info.err;
    EXPECT_NE(info.out.find("  name: Line-2\n"), std::string::npos) << info.out;
    // For a program that watches: each step one JSON line, in order.
    const CtlRun watched = m_tarnelctl({"set", port, "-l", "115200,E,2", "-m", "1", "--progress", "json"});
    EXPECT_EQ(watched.exit, EXIT_DONE) << watched.err;
    std::vector<std::string> events;
    for (const std::string& line : Lines(watched.err)) {
        if (!line.starts_with("{")) continue;
        const auto event = nlohmann::json::parse(line);
        EXPECT_EQ(event["port"], port);
        EXPECT_EQ(event["time"].get<std::string>().find('T'), 10u) << line;
        events.push_back(event["event"]);
    }
    EXPECT_EQ(events, (std::vector<std::string>{"probing", "reading", "writing", "verifying"}));
}

TEST_F(TarnelctlModuleTest, ResponsesSwitchedOffStayOffThroughTheReadBack) {
    const std::string port = Serve(SimConfig{});

    const CtlRun run = m_tarnelctl({"set", port, "--responses", "off", "--mode", "2"});
    ASSERT_EQ(run.exit, EXIT_DONE) << run.err;
    EXPECT_NE(run.out.find("  responses: no\n"), std::string::npos) << run.out;
    EXPECT_TRUE(Sim().Snapshot().current.quietMode);

    // Set once more on the module with responses off: it is switched on to
    // write (and says so), and off again as asked.
    const CtlRun again = m_tarnelctl({"set", port, "--name", "Quiet", "--responses", "off"});
    EXPECT_EQ(again.exit, EXIT_DONE) << again.err;
    EXPECT_NE(again.err.find("Switching command responses on."), std::string::npos) << again.err;
    EXPECT_TRUE(Sim().Snapshot().current.quietMode);
    EXPECT_EQ(Sim().Snapshot().current.name, "Quiet");
}

TEST_F(TarnelctlModuleTest, ARefusedSettingExitsWithOneAndSaysWhichAndNothingIsReset) {
    SimConfig config;
    config.errorCommands = {"AT+OPMODE"};
    const std::string port = Serve(config);

    const CtlRun run = m_tarnelctl({"set", port, "--name", "X", "--mode", "1"});
    EXPECT_EQ(run.exit, EXIT_REFUSED);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("the module refused the operation mode"), std::string::npos) << run.err;
    EXPECT_EQ(Sent("ATZ"), 0);
    const auto failure = nlohmann::json::parse(m_tarnelctl({"set", port, "--mode", "1", "--json"}).out);
    EXPECT_EQ(failure["result"], "FAIL");
    EXPECT_EQ(failure["status"], EXIT_REFUSED);
    EXPECT_NE(failure["reason"].get<std::string>().find("the module refused the operation mode"),
              std::string::npos);
}

TEST_F(TarnelctlModuleTest, AValueThatDoesNotTakeExitsWithOneAndNamesIt) {
    // The module confirms the name but keeps its old one.
    SimConfig config;
    config.replyOverrides = {{"AT+NAME", "\r\nOK\r\n"}};
    const std::string port = Serve(config);

    const CtlRun run = m_tarnelctl({"set", port, "--name", "Other", "--mode", "2"});
    EXPECT_EQ(run.exit, EXIT_REFUSED);
    EXPECT_NE(run.err.find("These values did not take: name."), std::string::npos) << run.err;
    EXPECT_NE(run.out.find("  name: Tarnel\n  mode: 2\n"), std::string::npos) << run.out;
}

TEST_F(TarnelctlModuleTest, ResetRestoresTheFactorySettingsAndReadsThemBack) {
    SimConfig config = Configured();
    config.settings.uart.line = {57600, 'N', 1};
    const std::string port = Serve(config);

    const CtlRun run = m_tarnelctl({"reset", port, "--yes", "--line", "57600,N,1", "--json"});
    ASSERT_EQ(run.exit, EXIT_DONE) << run.err;
    EXPECT_NE(run.out.find("\"name\":\"Tarnel\",\"mode\":0,\"state\":\"idle\",\"uart\":\"9600,N,1\""),
              std::string::npos)
        << run.out;
    EXPECT_EQ(Sim().Snapshot().factoryResets, 1);
    EXPECT_EQ(Sim().Snapshot().current, SimConfig{}.factory);
}

TEST_F(TarnelctlModuleTest, OnATerminalResetAsksFirstAndSlowStepsShowAProgressLine) {
    SimConfig config = Configured();
    const std::string port = Serve(config);
    test::PtyPair terminal;
    m_tarnelctl.SetTerminal(terminal.SlavePath());

    m_tarnelctl.Start({"reset", port});
    const std::string prompt = terminal.ReceiveUntil("[y/N] ", 20s);
    EXPECT_NE(prompt.find("Are you sure you want to continue?"), std::string::npos) << prompt;
    terminal.Send("n\n");
    EXPECT_EQ(m_tarnelctl.Finish().exit, EXIT_REFUSED);
    EXPECT_EQ(Sim().Snapshot().factoryResets, 0);

    m_tarnelctl.Start({"reset", port});
    terminal.ReceiveUntil("[y/N] ", 20s);
    terminal.Send("y\n");
    EXPECT_EQ(m_tarnelctl.Finish().exit, EXIT_DONE);
    EXPECT_EQ(Sim().Snapshot().factoryResets, 1);

    // find at 100 ms a probe takes well over the second before the line shows.
    m_tarnelctl.SetEnv("TARNELCTL_PROBE_MS", "100");
    test::PtyPair nothing;
    nothing.HoldSlave();
    m_tarnelctl.Start({"find", m_tarnelctl.Publish("empty", nothing.SlavePath())});
    EXPECT_NE(terminal.ReceiveUntil(" ...", 20s).find("\r\x1b[KTrying "), std::string::npos);
    EXPECT_EQ(m_tarnelctl.Finish().exit, EXIT_NO_MODULE);
}

SimConfig WithDevices() {
    SimConfig config;
    // Reported after the time the inquiry command itself waits, as a module
    // does; the first device twice.
    config.devices = {{{0x00, 0x11, 0x22, 0x33, 0x44, 0x55}, "Meter", -40, 0x1F00, 1500ms},
                      {{0x00, 0x11, 0x22, 0x33, 0x44, 0x55}, "Meter", -41, 0x1F00, 1600ms},
                      {{0x66, 0x77, 0x88, 0x99, 0xAA, 0xBB}, "Phone", -70, 0x5A020C, 1700ms}};
    config.inquiryTime = 2500ms;
    return config;
}

TEST_F(TarnelctlModuleTest, SearchListsEachDeviceOnceUntilTheModuleEndsIt) {
    const std::string port = Serve(WithDevices());

    const CtlRun text = m_tarnelctl({"search", port});
    EXPECT_EQ(text.exit, EXIT_DONE) << text.err;
    EXPECT_EQ(text.out,
              "001122334455\n  name: Meter\n  rssi: -40\n  class: 0x001F00\n"
              "66778899AABB\n  name: Phone\n  rssi: -70\n  class: 0x5A020C\n");
    EXPECT_EQ(Sent("AT+INQ=60,1"), 1);
    EXPECT_EQ(Sent("AT+OPCANCEL"), 0) << "the module ended the search itself";

    const CtlRun json = m_tarnelctl({"search", port, "--json"});
    EXPECT_EQ(json.out,
              "{\"address\":\"001122334455\",\"name\":\"Meter\",\"rssi\":-40,\"class\":\"0x001F00\"}\n"
              "{\"address\":\"66778899AABB\",\"name\":\"Phone\",\"rssi\":-70,\"class\":\"0x5A020C\"}\n");
}

TEST_F(TarnelctlModuleTest, SearchStopsTheInquiryOnTheModuleAfterItsSecondsOrOnCtrlC) {
    SimConfig config = WithDevices();
    config.inquiryTime = 60s;
    const std::string port = Serve(config);

    const CtlRun timed = m_tarnelctl({"search", port, "--seconds", "1"});
    EXPECT_EQ(timed.exit, EXIT_DONE) << timed.err;
    EXPECT_EQ(Sent("AT+OPCANCEL"), 1);

    m_tarnelctl.Start({"search", port, "--json"});
    ASSERT_TRUE(WaitUntil([&] { return m_tarnelctl.Out().find("Phone") != std::string::npos; }, 20s));
    m_tarnelctl.Interrupt();
    const CtlRun interrupted = m_tarnelctl.Finish();
    EXPECT_EQ(interrupted.exit, EXIT_INTERRUPTED) << interrupted.err;
    EXPECT_EQ(Sent("AT+OPCANCEL"), 2);
}

// A module that goes (its cable pulled) at any step: the port-error message
// and exit status 3 at once, whatever the command was doing.
TEST_F(TarnelctlModuleTest, APortThatDiesEndsEveryCommandWithThePortError) {
    struct Case {
        std::vector<std::string> args;
        uint64_t hangUpAfter;  // bytes the module hears before it goes
    };
    const Case cases[] = {
        {{"search"}, 29},                // on the inquiry command
        {{"info"}, 20},                  // during the read
        {{"set", "--name", "Bob"}, 80},  // during the writes
        {{"reset", "--yes"}, 30},        // during the read back
    };
    for (const Case& c : cases) {
        SimConfig config;
        config.hangUpAfterBytes = c.hangUpAfter;
        config.inquiryTime = 60s;
        std::vector<std::string> args = c.args;
        args.insert(args.begin() + 1, Serve(config, "dies-" + std::to_string(c.hangUpAfter)));
        SCOPED_TRACE(args[0] + " after " + std::to_string(c.hangUpAfter));
        const auto start = std::chrono::steady_clock::now();
        const CtlRun run = m_tarnelctl(args, 10s);
        EXPECT_EQ(run.exit, EXIT_PORT) << run.err;
        EXPECT_NE(run.err.find("Error on COM port. Closing the port."), std::string::npos) << run.err;
        EXPECT_LT(std::chrono::steady_clock::now() - start, 3s);
    }
}

SimConfig Connected() {
    SimConfig config;
    config.state = sim::ModuleState::Connected;
    return config;
}

// A module whose OK after a query's data line comes a little late, with its
// command responses off until the check switches them on.
SimConfig QuietWithLateOk() {
    SimConfig config;
    config.settings.quietMode = true;
    config.okDelay = 30ms;
    return config;
}

// What the module answered decides what a command reports: a refusal, no
// answer and a done command are told apart, and nothing is done to a
// connected module without a word.
TEST_F(TarnelctlModuleTest, ACommandIsReportedAsItWasAnswered) {
    struct Case {
        const char* what;
        SimConfig config;
        std::vector<std::string> args;  // the command, then what follows the port
        int exit;
        std::string err;   // a part of standard error
        std::string out;   // a part of standard output
        std::string sent;  // a command the module heard, or none
    };
    SimConfig refusedReset = QuietWithLateOk();
    refusedReset.errorCommands = {"AT&F"};
    SimConfig searching = QuietWithLateOk();
    searching.inquiryOk = true;
    searching.inquiryTime = 60s;
    SimConfig silentName;
    silentName.silentCommands = {"AT+NAME"};
    SimConfig refusedName;
    refusedName.errorCommands = {"AT+NAME"};
    SimConfig refusedSwitch;
    refusedSwitch.settings.quietMode = true;
    refusedSwitch.replyOverrides = {{"AT+QM", "\r\nERROR\r\n"}};
    SimConfig silentSwitch;
    silentSwitch.settings.quietMode = true;
    silentSwitch.silentCommands = {"AT+QM"};
    const std::string connected = "Device is in connected state. Ending its Bluetooth connection.";
    const Case cases[] = {
        {"refused factory reset after a late OK",
         refusedReset,
         {"reset", "--yes"},
         EXIT_REFUSED,
         "The module refused the factory reset.",
         "",
         "AT&F"},
        {"search after a late OK", searching, {"search", "--seconds", "1"}, EXIT_DONE, "", "", "AT+OPCANCEL"},
        {"silent name",
         silentName,
         {"set", "--name", "Bob", "--json"},
         EXIT_REFUSED,
         "(the module did not answer the name (AT+NAME=Bob))",
         R"("command":"AT+NAME=Bob","answer":"none")",
         "AT+NAME=Bob"},
        {"refused name",
         refusedName,
         {"set", "--name", "Bob", "--json"},
         EXIT_REFUSED,
         "(the module refused the name)",
         R"("answer":"refused")",
         "AT+NAME=Bob"},
        {"refused switch",
         refusedSwitch,
         {"info"},
         EXIT_REFUSED,
         "Command responses stay off: the module refused AT+QM=0.",
         "",
         "AT+QM=0"},
        {"silent switch",
         silentSwitch,
         {"info", "--json"},
         EXIT_REFUSED,
         "Command responses stay off: the module did not answer AT+QM=0.",
         R"("answer":"none")",
         "AT+QM=0"},
        {"set on a connected module",
         Connected(),
         {"set", "--name", "Bob"},
         EXIT_DONE,
         connected,
         "name: Bob",
         "AT+DISC"},
        {"reset on a connected module",
         Connected(),
         {"reset", "--yes"},
         EXIT_DONE,
         connected,
         "state: idle",
         "AT+DISC"},
        {"search on a connected module",
         Connected(),
         {"search", "--seconds", "1"},
         EXIT_DONE,
         connected,
         "",
         "AT+DISC"},
        {"info on a connected module", Connected(), {"info"}, EXIT_DONE, "", "state: connected", ""},
        {"find on a connected module", Connected(), {"find"}, EXIT_DONE, "", "uart: 9600,N,1", "+++"},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> args = c.args;
        args.insert(args.begin() + 1, Serve(c.config, "answers-" + std::to_string(n)));
        const CtlRun run = m_tarnelctl(args);
        EXPECT_EQ(run.exit, c.exit) << run.err;
        EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
        EXPECT_NE(run.out.find(c.out), std::string::npos) << run.out;
        if (!c.sent.empty()) {
            EXPECT_EQ(Sent(c.sent, n), 1) << c.sent;
        }
        EXPECT_EQ(run.err.find(connected) != std::string::npos, c.err == connected);
        ++n;
    }
}

SimConfig AtUart(sim::LineSettings line) {
    SimConfig config;
    config.settings.uart.line = line;
    return config;
}

TEST_F(TarnelctlModuleTest, FindNamesTheSettingsAtWhichEachModuleAnswersAndFourWhenNone) {
    const std::string factory = Serve(SimConfig{}, "factory");
    const std::string odd = Serve(AtUart({57600, 'O', 2}), "odd");
    SimConfig quiet = AtUart({115200, 'N', 1});
    quiet.settings.quietMode = true;
    const std::string silent = Serve(quiet, "quiet");
    test::PtyPair nothing;
    nothing.HoldSlave();
    const std::string empty = m_tarnelctl.Publish("empty", nothing.SlavePath());

    EXPECT_EQ(m_tarnelctl({"find", factory}).out, factory + "\n  uart: 9600,N,1\n");
    const CtlRun json = m_tarnelctl({"find", odd, "--json"});
    EXPECT_EQ(json.exit, EXIT_DONE);
    EXPECT_EQ(json.out, "{\"port\":\"" + odd + "\",\"uart\":\"57600,O,2\"}\n");
    EXPECT_EQ(m_tarnelctl({"find", silent}).out, silent + "\n  uart: 115200,N,1\n");
    EXPECT_TRUE(Sim(2).Snapshot().current.quietMode) << "the probe switches nothing on";

    // --line auto opens the other commands at what find finds.
    const CtlRun info = m_tarnelctl({"info", odd, "--line", "auto"});
    EXPECT_EQ(info.exit, EXIT_DONE) << info.err;
    EXPECT_NE(info.out.find("  uart: 57600,O,2\n"), std::string::npos) << info.out;

    // Nothing answers an empty port however long a probe waits; a short wait
    // keeps the many framings quick.
    m_tarnelctl.SetEnv("TARNELCTL_PROBE_MS", "20");
    const CtlRun none = m_tarnelctl({"find", empty});
    EXPECT_EQ(none.exit, EXIT_NO_MODULE);
    EXPECT_EQ(none.out, "");
    EXPECT_NE(none.err.find("No module answered at any of the offered settings."), std::string::npos);
    EXPECT_EQ(none.err.find('\r'), std::string::npos) << "no progress line when not on a terminal";

    // At the default probe time a module slower than the quick pass is
    // found by the full one.
    SimConfig slow = AtUart({19200, 'N', 1});
    slow.commandDelays = {{"AT+QM?", 200ms}};
    Tarnelctl defaults;
    m_sims.push_back(std::make_unique<PtyModule>(slow));
    ASSERT_FALSE(m_sims.back()->Start());
    const std::string late = defaults.Publish("late", m_sims.back()->SlavePath());
    EXPECT_EQ(defaults({"find", late}).out, late + "\n  uart: 19200,N,1\n");
}

TEST_F(TarnelctlModuleTest, ProvisionWatchConfiguresEachNewModuleOnceAndSumsUp) {
    SimConfig first;
    first.address = {0x00, 0x1A, 0x7D, 0x00, 0x00, 0x01};
    SimConfig refusing;
    refusing.address = {0x00, 0x1A, 0x7D, 0x00, 0x00, 0x02};
    refusing.errorCommands = {"AT+OPMODE"};
    SimConfig third;
    third.address = {0x00, 0x1A, 0x7D, 0x00, 0x00, 0x03};
    // A port that is there before the start is never touched.
    const std::string before = Serve(SimConfig{}, "before");

    m_tarnelctl.Start(
        {"provision", "--watch", "--name", "Sensor-{n:03}", "--uart", "115200,N,1", "--mode", "1"});
    ASSERT_TRUE(WaitUntil([&] { return m_tarnelctl.Err().find("Waiting") != std::string::npos; }, 20s));
    const auto resultLines = [&](std::size_t count) {
        return WaitUntil([&] { return Lines(m_tarnelctl.Out()).size() == count; }, 30s);
    };
    const std::string a = Serve(first, "a");
    ASSERT_TRUE(resultLines(1)) << m_tarnelctl.Err();
    const std::string b = Serve(refusing, "b");
    ASSERT_TRUE(resultLines(2)) << m_tarnelctl.Err();
    // The first module again, on another port.
    const std::string again = m_tarnelctl.Publish("a-again", Sim(1).SlavePath());
    ASSERT_TRUE(resultLines(3)) << m_tarnelctl.Err();
    const std::string c = Serve(third, "c");
    ASSERT_TRUE(resultLines(4)) << m_tarnelctl.Err();
    m_tarnelctl.Interrupt();
    const CtlRun run = m_tarnelctl.Finish();

    EXPECT_EQ(run.exit, EXIT_REFUSED);
    EXPECT_EQ(Lines(run.out),
              (std::vector<std::string>{
                  "001A7D000001  Sensor-001  PASS  (" + a + ")",
                  "001A7D000002  Sensor-002  FAIL: Failed to save device settings. Try to check device state "
                  "again. (the module refused the operation mode)  (" +
                      b + ")",
                  "001A7D000001  Sensor-001  REPEAT: this module passed before and is left as it is  (" +
                      again + ")",
                  "001A7D000003  Sensor-003  PASS  (" + c + ")", "summary", "  passed: 2", "  failed: 1",
                  "  repeated: 1", "  no-module: 0"}));
    EXPECT_TRUE(Sim(0).Commands().empty()) << "the port there before the start";
    EXPECT_EQ(Sim(1).Snapshot().current.name, "Sensor-001");
    EXPECT_EQ(Sim(1).Snapshot().current.uart.line.baud, 115200u);
    EXPECT_EQ(Sim(1).Snapshot().resets, 1);
    EXPECT_EQ(Sim(3).Snapshot().current.opMode, 1);
}

TEST_F(TarnelctlModuleTest, ProvisionWatchWorksOnEveryNewPortAtOnceAndLeavesTheOperatorsPortsAlone) {
    const std::string before = Serve(SimConfig{}, "before");
    m_tarnelctl.Start({"provision", "--watch", "--name", "L-{n}", "--mode", "1", "--ports", "st?"});
    ASSERT_TRUE(WaitUntil([&] { return m_tarnelctl.Err().find("Waiting") != std::string::npos; }, 20s));
    // The operator's port comes back on another terminal: still the operator's.
    std::filesystem::remove(before);
    Serve(SimConfig{}, "before");
    // Four stations at once: two prompt modules, a slow one and a port where
    // none answers; and a port that --ports leaves out.
    SimConfig prompt1, prompt2, slow;
    prompt1.address[5] = 0x01;
    prompt2.address[5] = 0x02;
    slow.address[5] = 0x03;
    slow.replyDelay = 300ms;
    const std::string st1 = Serve(prompt1, "st1");
    const std::string st2 = Serve(slow, "st2");
    test::PtyPair silent;
    silent.HoldSlave();
    const std::string st3 = m_tarnelctl.Publish("st3", silent.SlavePath());
    const std::string st4 = Serve(prompt2, "st4");
    Serve(SimConfig{}, "operator");
    const auto resultLines = [&](std::size_t count) {
        return WaitUntil([&] { return Lines(m_tarnelctl.Out()).size() == count; }, 60s);
    };
    ASSERT_TRUE(resultLines(4)) << m_tarnelctl.Out() << m_tarnelctl.Err();
    // The watch goes on; the silent port is not probed again.
    SimConfig later;
    later.address[5] = 0x05;
    const std::string st5 = Serve(later, "st5");
    ASSERT_TRUE(resultLines(5)) << m_tarnelctl.Out() << m_tarnelctl.Err();
    m_tarnelctl.Interrupt();
    const CtlRun run = m_tarnelctl.Finish();

    EXPECT_EQ(run.exit, EXIT_DONE) << run.err;
    const auto lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 10u) << run.out;
    const auto passed = [](const std::string& line, const std::string& port) {
        return line.ends_with("  PASS  (" + port + ")");
    };
    // Neither the slow module nor the silent port held the prompt ones up.
    EXPECT_TRUE((passed(lines[0], st1) && passed(lines[1], st4)) ||
                (passed(lines[0], st4) && passed(lines[1], st1)))
        << run.out;
    EXPECT_TRUE(passed(lines[2], st2)) << run.out;
    EXPECT_EQ(lines[3], "-  -  NO MODULE: no module answered  (" + st3 + ")");
    EXPECT_TRUE(passed(lines[4], st5)) << run.out;
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 5, lines.end()),
              (std::vector<std::string>{"summary", "  passed: 4", "  failed: 0", "  repeated: 0",
                                        "  no-module: 1"}));
    for (const std::size_t configured : {2, 3, 4, 6}) {
        EXPECT_EQ(Sim(configured).Snapshot().resets, 1) << configured;
        EXPECT_EQ(Sim(configured).Snapshot().current.opMode, 1) << configured;
    }
    for (const std::size_t untouched : {0, 1, 5})
        EXPECT_TRUE(Sim(untouched).Commands().empty()) << untouched;
}

// The records of a report, each line parsed as JSON, or as CSV fields by the
// header's names.
std::vector<nlohmann::json> ReportRecords(const std::string& path) {
    std::vector<nlohmann::json> records;
    for (const std::string& line : Lines(ReadText(path)))
        records.push_back(nlohmann::json::parse(line));
    return records;
}

TEST_F(TarnelctlModuleTest, AReportHoldsAWholeRecordOfEveryModuleOrTheLineStops) {
    SimConfig config;
    config.address = {0x00, 0x1A, 0x7D, 0x00, 0x00, 0x01};
    const std::string port = Serve(config);
    const auto dir = m_tarnelctl.RuntimeDir();
    const std::string jsonl = (dir / "line.jsonl").string();
    const std::string csv = (dir / "line.csv").string();
    // A crash while a record was written left half a line: it goes.
    WriteText(jsonl, "{\"time\":\"2026-");

    struct Case {
        std::string report;
        std::vector<std::string> args;
        int exit;
    };
    const std::string settings = (dir / "line.toml").string();
    WriteText(settings, "name = \"Q\\\"{n}\"\nmode = 2\n");
    const std::vector<Case> cases{
        {jsonl, {"--settings", settings}, EXIT_DONE},
        {csv, {"--name", "Q\"{n}", "--mode", "2"}, EXIT_DONE},
        // The state beside the report knows the module.
        {csv, {"--name", "S{n}", "--mode", "1"}, EXIT_DONE},
        // No room on the device: the module is configured, the line stops.
        {"/dev/full", {"--name", "F{n}"}, EXIT_REPORT},
        {(dir / "no-such-dir" / "r.csv").string(), {"--name", "F{n}"}, EXIT_REPORT},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args{"provision", "--port", port, "--report", c.report};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const CtlRun run = m_tarnelctl(args);
        EXPECT_EQ(run.exit, c.exit) << c.report << ": " << run.err;
    }

    const auto records = ReportRecords(jsonl);
    ASSERT_EQ(records.size(), 1u) << ReadText(jsonl);
    const nlohmann::json& record = records[0];
    for (const auto& [key, value] :
         std::vector<std::pair<std::string, std::string>>{{"port", port},
                                                          {"port-id", port},
                                                          {"result", "PASS"},
                                                          {"address", "001A7D000001"},
                                                          {"name", "Q\"1"},
                                                          {"model", "TARNEL-BT1"},
                                                          {"written-mode", "2"},
                                                          {"read-name", "Q\"1"},
                                                          {"read-mode", "2"},
                                                          {"read-uart", "9600,N,1,off"}})
        EXPECT_EQ(record.value(key, ""), value) << key;
    EXPECT_EQ(record["settings"], settings);
    EXPECT_EQ(record["settings-sha256"].get<std::string>().size(), 64u);
    EXPECT_TRUE(record["time"].get<std::string>().starts_with("20")) << record;
    EXPECT_GE(record["duration-ms"].get<int>(), 0);

    // CSV: the header once, then one line a module; a quote doubled.
    const auto lines = Lines(ReadText(csv));
    ASSERT_EQ(lines.size(), 3u) << ReadText(csv);
    EXPECT_EQ(lines[0].rfind("time,host,port,port-id,result,why,address,name,model,", 0), 0u) << lines[0];
    EXPECT_NE(lines[1].find(",PASS,,001A7D000001,\"Q\"\"1\",TARNEL-BT1,"), std::string::npos) << lines[1];
    EXPECT_NE(
        lines[2].find(",REPEAT,this module passed before and is left as it is,001A7D000001,\"Q\"\"1\","),
        std::string::npos)
        << lines[2];
    EXPECT_TRUE(lines[2].ends_with("\r"));
}

TEST_F(TarnelctlModuleTest, ProvisionKilledBetweenModulesLeavesOnlyWholeRecords) {
    std::filesystem::create_directories(m_tarnelctl.RuntimeDir());
    const std::string report = (m_tarnelctl.RuntimeDir() / "line.jsonl").string();
    m_tarnelctl.Start({"provision", "--watch", "--mode", "1", "--report", report});
    ASSERT_TRUE(WaitUntil([&] { return m_tarnelctl.Err().find("Waiting") != std::string::npos; }, 20s));
    for (int i = 1; i <= 2; ++i) {
        SimConfig config;
        config.address[5] = static_cast<uint8_t>(i);
        Serve(config, "m" + std::to_string(i));
        ASSERT_TRUE(
            WaitUntil([&] { return Lines(m_tarnelctl.Out()).size() == static_cast<std::size_t>(i); }, 30s));
    }
    m_tarnelctl.Kill();
    m_tarnelctl.Finish();
    const std::string text = ReadText(report);
    EXPECT_TRUE(text.ends_with("\n"));
    const auto records = ReportRecords(report);
    ASSERT_EQ(records.size(), 2u) << text;
    EXPECT_EQ(records[1]["address"], "001A7DDA7102");
}

TEST_F(TarnelctlModuleTest, AStateFileCarriesTheNumbersAcrossARestartAndServesOneLineAtATime) {
    std::filesystem::create_directories(m_tarnelctl.RuntimeDir());
    const std::string state = (m_tarnelctl.RuntimeDir() / "line.state").string();
    const std::vector<std::string> args{"provision", "--watch", "--name",  "S{n}",
                                        "--mode",    "1",       "--state", state};
    const auto waiting = [&] { return m_tarnelctl.Err().find("Waiting") != std::string::npos; };
    SimConfig first, second;
    first.address[5] = 0x01;
    second.address[5] = 0x02;

    m_tarnelctl.Start(args);
    ASSERT_TRUE(WaitUntil(waiting, 20s));
    const std::string a = Serve(first, "a");
    ASSERT_TRUE(WaitUntil([&] { return Lines(m_tarnelctl.Out()).size() == 1; }, 30s)) << m_tarnelctl.Err();
    // A second line on the same state file would number the same modules.
    Tarnelctl other;
    const CtlRun refused = other(args);
    EXPECT_EQ(refused.exit, EXIT_REPORT);
    EXPECT_NE(refused.err.find("is in use by another tarnelctl"), std::string::npos) << refused.err;
    m_tarnelctl.Interrupt();
    EXPECT_EQ(m_tarnelctl.Finish().exit, EXIT_DONE);

    // Started again: the module it knows is a repeat, the next one gets 2.
    std::filesystem::remove(a);
    m_tarnelctl.Start(args);
    ASSERT_TRUE(WaitUntil(waiting, 20s));
    m_tarnelctl.Publish("a", Sim(0).SlavePath());
    ASSERT_TRUE(WaitUntil([&] { return Lines(m_tarnelctl.Out()).size() == 1; }, 30s)) << m_tarnelctl.Err();
    const std::string b = Serve(second, "b");
    ASSERT_TRUE(WaitUntil([&] { return Lines(m_tarnelctl.Out()).size() == 2; }, 30s)) << m_tarnelctl.Err();
    m_tarnelctl.Interrupt();
    const auto lines = Lines(m_tarnelctl.Finish().out);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0],
              "001A7DDA7101  S1  REPEAT: this module passed before and is left as it is  (" + a + ")");
    EXPECT_EQ(lines[1], "001A7DDA7102  S2  PASS  (" + b + ")");
    const auto saved = nlohmann::json::parse(ReadText(state));
    EXPECT_EQ(saved["next"], 3);
    EXPECT_EQ(saved["modules"].size(), 2u);
    EXPECT_EQ(Sim(1).Snapshot().current.name, "S2");
}

TEST_F(TarnelctlModuleTest, VerifyVerifyOnlyAndDryRunSayWhatDiffersOrWouldBeSentAndWriteNothing) {
    const std::string port = Serve(Configured());
    SimConfig mute;
    mute.silentCommands = {"AT", "+++", "AT+QM?", "AT+MODELNAME?"};
    const std::string silent = Serve(mute, "mute");
    const std::string recipe = (m_tarnelctl.RuntimeDir() / "recipe.toml").string();
    WriteText(recipe, "name = \"X\"\nmode = 1\n");
    struct Case {
        std::vector<std::string> args;
        int exit;
        std::vector<std::string> lines;  // each among the output's lines
    };
    const std::string station = "  (" + port + ")";
    const std::vector<Case> cases{
        {{"verify", port, "--name", "Bench-7", "--mode", "3"}, EXIT_DONE, {port, "  result: same"}},
        // An option given beside the file wins.
        {{"verify", port, "--settings", recipe, "--mode", "3"},
         EXIT_REFUSED,
         {"  result: different", "  name: 'Bench-7', target 'X'", "  settings: " + recipe}},
        {{"verify", port, "-u", "9600,N,1", "-t", "A1B2C3D4E5F7"},
         EXIT_REFUSED,
         {"  uart: '9600,N,1,on', target '9600,N,1,off'", "  target: 'A1B2C3D4E5F6', target 'A1B2C3D4E5F7'"}},
        {{"verify", silent, "--mode", "1"}, EXIT_NO_MODULE, {}},
        {{"provision", "--verify-only", "--port", port, "--mode", "3", "--name", "Node-{n}"},
         EXIT_DONE,
         {"001A7DDA7113  Bench-7  SAME" + station}},
        {{"provision", "--verify-only", "--port", port, "--settings", recipe},
         EXIT_REFUSED,
         {"001A7DDA7113  Bench-7  DIFFERENT: mode '3', target '1'" + station}},
        {{"set", "--dry-run", port, "--name", "New", "-r", "off"},
         EXIT_DONE,
         {"AT+NAME=New", "AT+UART=9600,N,1,1", "AT+OPMODE=3", "AT+QM=1"}},
        {{"provision", "--dry-run", "--port", port, "--name", "N-{n}", "--first", "4", "--json"},
         EXIT_DONE,
         {R"({"port":")" + port + R"(","command":"AT+NAME=N-4"})",
          R"({"port":")" + port +
              R"(","address":"001A7DDA7113","name":"N-4","result":"DRY RUN","why":"nothing was written"})"}},
    };
    for (const Case& c : cases) {
        const CtlRun run = m_tarnelctl(c.args);
        EXPECT_EQ(run.exit, c.exit) << c.args[1] << ": " << run.err;
        for (const std::string& line : c.lines)
            EXPECT_TRUE(Contains(Lines(run.out), line)) << line << "\n" << run.out;
    }
    for (const std::string& command : Sim().Commands())
        EXPECT_EQ(command.find('='), std::string::npos) << command;
    EXPECT_EQ(Sent("ATZ"), 0);
}

TEST_F(TarnelctlModuleTest, ProvisionOnOnePortPrintsAJsonResultAndExitsWithItsVerdict) {
    SimConfig config;
    config.address = {0x00, 0x1A, 0x7D, 0xAB, 0xCD, 0xEF};
    const std::string port = Serve(config);

    const CtlRun run = m_tarnelctl({"provision", "--port", port, "--name", "Node-{addr6}", "--json"});
    EXPECT_EQ(run.exit, EXIT_DONE) << run.err;
    EXPECT_EQ(run.out, "{\"port\":\"" + port +
                           "\",\"address\":\"001A7DABCDEF\",\"name\":\"Node-ABCDEF\",\"result\":\"PASS\"}\n");
    EXPECT_EQ(Sim().Snapshot().current.name, "Node-ABCDEF");
}

TEST_F(TarnelctlModuleTest, APortThatGoesAwayIsReportedAsALostPortByEveryCommand) {
    // The module's cable is pulled once it has received this many bytes: in
    // the read (info, set, provision), before the factory reset's answer,
    // in the search, in find's first probe.
    struct Case {
        std::vector<std::string> args;
        uint64_t hangUpAfter;
    };
    const std::vector<Case> cases{
        {{"info"}, 22},
        {{"set", "--mode", "1"}, 30},
        {{"reset", "--yes"}, 20},
        {{"search", "--seconds", "2"}, 20},
        {{"find"}, 4},
        {{"provision", "--mode", "1", "--port"}, 22},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SimConfig config;
        config.hangUpAfterBytes = cases[i].hangUpAfter;
        std::vector<std::string> args = cases[i].args;
        args.push_back(Serve(config, "lost" + std::to_string(i)));
        const CtlRun run = m_tarnelctl(args);
        EXPECT_EQ(run.exit, EXIT_PORT) << args[0] << ": " << run.out << run.err;
        EXPECT_NE((run.out + run.err)
                      .find(args[0] == "find" ? "Unable to open the COM port." : "Error on COM port."),
                  std::string::npos)
            << args[0] << ": " << run.out << run.err;
    }
}

TEST_F(TarnelctlModuleTest, CtrlCEndsEveryCommandWithOneHundredThirtyAndClosesThePort) {
    // A module that says nothing keeps each command waiting in its steps.
    SimConfig mute;
    mute.silentCommands = {"AT", "+++", "AT+QM?", "AT+MODELNAME?"};
    const std::string port = Serve(mute);
    for (const std::vector<std::string>& args : {std::vector<std::string>{"info", port},
                                                 {"set", port, "--mode", "1"},
                                                 {"reset", port, "--yes"},
                                                 {"find", port},
                                                 {"provision", "--port", port, "--mode", "1"}}) {
        const std::size_t before = Sim().Received().size();
        m_tarnelctl.Start(args);
        ASSERT_TRUE(WaitUntil([&] { return Sim().Received().size() > before; }, 20s)) << args[0];
        m_tarnelctl.Interrupt();
        const CtlRun run = m_tarnelctl.Finish(10s);
        EXPECT_EQ(run.exit, EXIT_INTERRUPTED) << args[0] << ": " << run.err;
        EXPECT_NE(run.err.find("Interrupted"), std::string::npos) << args[0] << ": " << run.err;
        EXPECT_EQ(run.out, "") << args[0];
    }
    // The port was closed each time: it opens at once.
    EXPECT_EQ(m_tarnelctl({"info", port, "--line", "115200,N,1"}).exit, EXIT_NO_MODULE);
}

// Ctrl+C or SIGTERM while a step runs (its answer delayed), no reader for
// the output, or the module gone as its settings are written: the step
// finishes, nothing after it starts, the exit status names what ended the
// command and the message what was done.
TEST_F(TarnelctlModuleTest, AnInterruptFinishesTheStepItCameInAndStartsNoOther) {
    constexpr int kClosedOutput = 0;  // standard output is a pipe already closed
    constexpr int kUnplugged = -1;    // the module goes
    struct Case {
        std::vector<std::string> args;  // the port goes last
        std::string during;             // the command whose delayed answer the end comes before
        int signal;
        int exit;
        std::string said;
        std::pair<std::string, int> sent;  // a command and how often it was sent
    };
    const std::string written = "name: X, mode: 0, uart: 115200,N,1, flow-control: no, responses: yes; ";
    const std::vector<Case> cases{
        {{"info"}, "AT+VER?", SIGINT, 130, "Interrupted; the module was read.", {"AT+VER?", 1}},
        {{"set", "--name", "L9"}, "AT+NAME", SIGINT, 130, "written and the module reset", {"ATZ", 1}},
        {{"reset", "--yes"}, "AT&F", SIGINT, 130, "reset to its factory settings", {"AT&F", 1}},
        {{"provision", "--name", "P1", "--port"}, "AT+NAME", SIGINT, 130, "Interrupted", {"ATZ", 1}},
        {{"search"}, "AT+MODELNAME?", SIGINT, 130, "the search was not started.", {"AT+INQ=60,1", 0}},
        {{"search"}, "AT+INQ", SIGTERM, 143, "Terminated; the search was stopped.", {"AT+OPCANCEL", 1}},
        {{"search"},
         "",
         kClosedOutput,
         141,
         "Standard output was closed; the search was stopped.",
         {"AT+OPCANCEL", 1}},
        {{"set", "--name", "X", "--uart", "115200,N,1"},
         "AT+QM=0",
         kUnplugged,
         3,
         written + "the module was not reset",
         {"ATZ", 0}},
        {{"provision", "--name", "X", "--uart", "115200,N,1", "--port"},
         "AT+QM=0",
         kUnplugged,
         3,
         written + "the module was not reset",
         {"ATZ", 0}},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        SimConfig config = WithDevices();
        config.inquiryTime = 60s;
        config.commandDelays = {{c.during.substr(0, c.during.find('=')), 600ms}};
        std::vector<std::string> args = c.args;
        args.push_back(Serve(config, "stopped" + std::to_string(i)));
        SCOPED_TRACE(args[0] + " " + c.during);
        if (c.signal == kClosedOutput) m_tarnelctl.CloseOutput();
        m_tarnelctl.Start(args);
        if (c.signal != kClosedOutput) {
            ASSERT_TRUE(
                WaitUntil([&] { return Sim(i).Received().find(c.during) != std::string::npos; }, 20s));
        }
        if (c.signal == kUnplugged) Sim(i).Unplug();
        if (c.signal > 0) m_tarnelctl.Interrupt(c.signal);
        const CtlRun run = m_tarnelctl.Finish();
        EXPECT_EQ(run.exit, c.exit) << run.err;
        EXPECT_NE((run.out + run.err).find(c.said), std::string::npos) << run.out << run.err;
        EXPECT_EQ(Sent(c.sent.first, i), c.sent.second) << c.sent.first;
        EXPECT_NE(Sim(i).Snapshot().state, sim::ModuleState::Inquiring) << "the search was stopped";
    }
}

TEST_F(TarnelctlModuleTest, ProvisionCountsModulesNotAttemptsAndStopsWhenTheNameOutgrowsTheModule) {
    SimConfig refusing;
    refusing.errorCommands = {"AT+OPMODE"};
    m_tarnelctl.Start(
        {"provision", "--watch", "--name", std::string(30, 'A') + "{n}", "--first", "99", "--mode", "1"});
    ASSERT_TRUE(WaitUntil([&] { return m_tarnelctl.Err().find("Waiting") != std::string::npos; }, 20s));
    const auto resultLines = [&](std::size_t count) {
        return WaitUntil([&] { return Lines(m_tarnelctl.Out()).size() == count; }, 30s);
    };
    // The module fails, then passes when plugged in again.
    const std::string a = Serve(refusing, "a");
    ASSERT_TRUE(resultLines(1)) << m_tarnelctl.Err();
    const std::string again = Serve(SimConfig{}, "again");
    ASSERT_TRUE(resultLines(2)) << m_tarnelctl.Err();
    // A second module would be number 100, a 33-byte name: it is refused
    // untouched and the line stops by itself.
    SimConfig second;
    second.address[5] = 0x22;
    const std::string b = Serve(second, "b");
    const CtlRun run = m_tarnelctl.Finish(60s);

    EXPECT_EQ(run.exit, EXIT_REFUSED) << run.err;
    const auto lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 8u) << run.out;
    EXPECT_EQ(lines[0].find("001A7DDA7113  " + std::string(30, 'A') + "99  FAIL: "), 0u) << lines[0];
    EXPECT_EQ(lines[1], "001A7DDA7113  " + std::string(30, 'A') + "99  PASS  (" + again + ")");
    EXPECT_EQ(
        lines[2].find("001A7DDA7122  " + std::string(30, 'A') + "100  FAIL: The device name is too long."),
        0u)
        << lines[2];
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 3, lines.end()),
              (std::vector<std::string>{"summary", "  passed: 1", "  failed: 1", "  repeated: 0",
                                        "  no-module: 0"}));
    EXPECT_EQ(Sent("AT+NAME=" + std::string(30, 'A') + "100", 2), 0);
    EXPECT_EQ(Sim(2).Snapshot().current.name, "Tarnel");
}

TEST_F(TarnelctlModuleTest, CtrlCWhileANewPortShowsNoModuleYetCountsNothing) {
    m_tarnelctl.Start({"provision", "--watch", "--mode", "1"});
    ASSERT_TRUE(WaitUntil([&] { return m_tarnelctl.Err().find("Waiting") != std::string::npos; }, 20s));
    test::PtyPair nothing;
    nothing.HoldSlave();
    m_tarnelctl.Publish("nothing", nothing.SlavePath());
    // The module on it is given up to 10 s to answer; Ctrl+C comes first.
    ASSERT_FALSE(nothing.Receive(1, 20s).empty());
    m_tarnelctl.Interrupt();
    const CtlRun run = m_tarnelctl.Finish();
    EXPECT_EQ(run.exit, EXIT_DONE) << run.err;
    EXPECT_EQ(Lines(run.out), (std::vector<std::string>{"summary", "  passed: 0", "  failed: 0",
                                                        "  repeated: 0", "  no-module: 0"}));
}

TEST_F(TarnelctlModuleTest, CommandsSayAndKeepWhatTheModuleHas) {
    SimConfig quiet;
    quiet.settings.quietMode = true;
    const std::string port = Serve(quiet);

    // Responses switched on to work stay as the module had them.
    const CtlRun mode = m_tarnelctl({"set", port, "--mode", "1"});
    EXPECT_EQ(mode.exit, EXIT_DONE) << mode.err;
    EXPECT_TRUE(Sim().Snapshot().current.quietMode);
    EXPECT_EQ(Sim().Snapshot().current.opMode, 1);
    // The model is asked once, and reset prints the keys info prints.
    const int asked = Sent("AT+MODELNAME?");
    const CtlRun info = m_tarnelctl({"info", port, "--json"});
    EXPECT_EQ(info.exit, EXIT_DONE) << info.err;
    EXPECT_EQ(Sent("AT+MODELNAME?") - asked, 1);
    // A name that spells an escape is not shown as one.
    const CtlRun name = m_tarnelctl({"set", port, "--name", "a\\x1B"});
    EXPECT_NE(name.out.find("  name: a\\\\x1B\n"), std::string::npos) << name.out;
    // A name that is not UTF-8 is refused and nothing is sent.
    const std::size_t received = Sim().Received().size();
    const CtlRun broken = m_tarnelctl({"set", port, "--name", "\xFF\xFE"});
    EXPECT_EQ(broken.exit, EXIT_USAGE);
    EXPECT_EQ(Sim().Received().size(), received);

    const CtlRun reset = m_tarnelctl({"reset", port, "--yes", "--json"});
    ASSERT_EQ(reset.exit, EXIT_DONE) << reset.err;
    const auto keys = [](const std::string& json) {
        std::vector<std::string> found;
        for (std::size_t at = json.find("\":"); at != std::string::npos; at = json.find("\":", at + 2))
            found.push_back(json.substr(json.rfind('"', at - 1) + 1, at - json.rfind('"', at - 1) - 1));
        return found;
    };
    EXPECT_EQ(keys(reset.out), keys(info.out)) << reset.out;

    // The trace shows every byte both ways, timed.
    const CtlRun traced = m_tarnelctl({"info", port, "-v"});
    EXPECT_EQ(traced.exit, EXIT_DONE);
    EXPECT_NE(traced.err.find(" " + port + " open at 9600,N,1\n"), std::string::npos) << traced.err;
    EXPECT_NE(traced.err.find(" " + port + " > AT\\r\n"), std::string::npos) << traced.err;
    EXPECT_NE(traced.err.find(" " + port + " < \\r\\nOK\\r\\n"), std::string::npos) << traced.err;
}

}  // namespace
}  // namespace tarnel::ctl
