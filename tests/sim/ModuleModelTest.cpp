#include "sim/ModuleModel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarnel::sim {
namespace {

using namespace std::chrono_literals;
using TimePoint = ModuleModel::TimePoint;

const std::string kOk = "\r\nOK\r\n";
const std::string kError = "\r\nERROR\r\n";

std::string Line(const std::string& text) {
    return "\r\n" + text + "\r\n";
}

// Drives a model with a clock that only moves when the test says so.
struct Harness {
    explicit Harness(SimConfig config = {}) : model(std::move(config), now) {}

    std::string Send(std::string_view bytes) {
        model.Receive(bytes, now);
        return model.TakeOutput(now);
    }
    std::string Advance(std::chrono::microseconds by) {
        now += by;
        return model.TakeOutput(now);
    }
    ModuleSnapshot State() const { return model.Snapshot(); }

    TimePoint now{std::chrono::hours(1)};
    ModuleModel model;
};

SimConfig WithDevices(std::vector<NearbyDevice> devices) {
    SimConfig config;
    config.devices = std::move(devices);
    return config;
}

const BdAddress kPhone{0x74, 0xE5, 0x43, 0xB0, 0x19, 0xC7};
const BdAddress kSpeaker{0x00, 0x1B, 0xDC, 0x0F, 0x3A, 0x21};

struct Exchange {
    std::string command;
    std::string answer;
};

class CommandAnswer : public ::testing::TestWithParam<Exchange> {};

TEST_P(CommandAnswer, IsTheModulesLine) {
    Harness sim;
    EXPECT_EQ(sim.Send(GetParam().command), GetParam().answer);
}

INSTANTIATE_TEST_SUITE_P(
    EveryCommand, CommandAnswer,
    ::testing::Values(
        Exchange{"AT\r", kOk}, Exchange{"at\r", kOk}, Exchange{"ATZ\r", kOk}, Exchange{"AT&F\r", kOk},
        Exchange{"AT+MODELNAME?\r", Line("+MODELNAME,TARNEL-BT1") + kOk},
        Exchange{"AT+VER?\r", Line("+VER,1.2.0") + kOk},
        Exchange{"AT+INFO1?\r", Line("+INFO1,001A7DDA7113,Tarnel,0,IDLE") + kOk},
        Exchange{"AT+INFO2?\r", Line("+INFO2,0,0,0,0,0") + kOk}, Exchange{"AT+OPCANCEL\r", kOk},
        Exchange{"AT+INQ=60,1\r", ""}, Exchange{"AT+INQ=60\r", kError}, Exchange{"AT+INQ=0,1\r", kError},
        Exchange{"AT+SCAN=3,5\r", kOk}, Exchange{"AT+SCAN=3,x\r", kError},
        Exchange{"AT+TADDR?\r", Line("+TADDR,000000000000") + kOk}, Exchange{"AT+TADDR=0a1b2c3d4e5f\r", kOk},
        Exchange{"AT+TADDR=0A1B2C3D4E5\r", kError}, Exchange{"AT+TADDR=0A:1B:2C:3D:4E:5F\r", kError},
        Exchange{"AT+QM?\r", Line("+QM,0") + kOk}, Exchange{"AT+QM=0\r", kOk}, Exchange{"AT+QM=2\r", kError},
        Exchange{"AT+NAME=Bob\r", kOk}, Exchange{"AT+NAME=\r", kError},
        Exchange{"AT+NAME=" + std::string(32, 'n') + "\r", kOk},
        Exchange{"AT+NAME=" + std::string(33, 'n') + "\r", kError}, Exchange{"AT+NAME=a,b\r", kError},
        Exchange{"AT+UART=115200,E,2,1\r", kOk}, Exchange{"AT+UART=460800,o,1,0\r", kOk},
        Exchange{"AT+UART=12345,N,1,0\r", kError}, Exchange{"AT+UART=9600,X,1,0\r", kError},
        Exchange{"AT+UART=9600,N,3,0\r", kError}, Exchange{"AT+UART=9600,N,1,2\r", kError},
        Exchange{"AT+UART=9600,N,1\r", kError}, Exchange{"AT+OPMODE=3\r", kOk},
        Exchange{"AT+OPMODE=4\r", kError}, Exchange{"+++\r", kOk}, Exchange{"AT+DISC\r", kError},
        Exchange{"AT+BOGUS\r", kError}, Exchange{"AT+NAME\r", kError}, Exchange{"AT=1\r", kError},
        Exchange{"\r", ""}, Exchange{"\r\n\n", ""}, Exchange{"AT\r\n", kOk}, Exchange{"AT", ""},
        Exchange{std::string(300, 'A') + "\r", kError}));

// A host session touching most of the state machine; its answers must not
// depend on how the bytes are cut.
std::string SessionAnswers(std::size_t chunk) {
    const std::string input =
        "AT\rAT+VER?\r\nAT+NAME=Zed\rAT+UART=9600,N,1,1\rAT+OPMODE=2\rAT+INFO1?\rATZ\rAT+INFO1?\r"
        "AT+INFO2?\rAT+QM=1\rAT\rAT+QM?\rAT+QM=0\rAT+TADDR=112233445566\rAT+TADDR?\rbogus\rAT&F\rAT+INFO1?\r";
    SimConfig config;
    config.state = ModuleState::Connected;
    Harness sim(config);
    std::string out = sim.Send("+++\r");
    for (std::size_t i = 0; i < input.size(); i += chunk)
        out += sim.Send(input.substr(i, chunk));
    return out;
}

TEST(ModuleModelFeeding, OneTenOrAllBytesAtOnceGiveTheSameAnswers) {
    const std::string whole = SessionAnswers(10'000);
    EXPECT_EQ(SessionAnswers(1), whole);
    EXPECT_EQ(SessionAnswers(10), whole);
    EXPECT_NE(whole.find(Line("+INFO1,001A7DDA7113,Zed,2,IDLE")), std::string::npos) << whole;
    EXPECT_NE(whole.find(Line("+TADDR,112233445566")), std::string::npos) << whole;
}

TEST(ModuleModelReset, WrittenNameUartAndModeTakeEffectOnlyAtTheReset) {
    Harness sim;
    EXPECT_EQ(sim.Send("AT+NAME=Bob\rAT+OPMODE=3\rAT+UART=115200,E,2,1\r"), kOk + kOk + kOk);
    EXPECT_EQ(sim.Send("AT+INFO1?\r"), Line("+INFO1,001A7DDA7113,Tarnel,0,IDLE") + kOk);
    EXPECT_EQ(sim.Send("AT+INFO2?\r"), Line("+INFO2,0,0,0,0,0") + kOk);
    ModuleSnapshot before = sim.State();
    EXPECT_EQ(before.written.name, "Bob");
    EXPECT_EQ(before.current.uart.line.baud, 9600u);

    // The OK still leaves at the old framing, then the new one is in force.
    sim.model.SetHostLine({9600, 'N', 1});
    EXPECT_EQ(sim.Send("ATZ\r"), kOk);
    const ModuleSnapshot after = sim.State();
    EXPECT_EQ(after.resets, 1);
    EXPECT_EQ(after.current.name, "Bob");
    EXPECT_EQ(after.current.opMode, 3);
    EXPECT_EQ(after.current.uart, (UartSettings{{115200, 'E', 2}, 1}));
    EXPECT_FALSE(after.hostLineMatches);
    EXPECT_EQ(sim.Send("AT\r"), "");

    sim.model.SetHostLine({115200, 'E', 2});
    EXPECT_EQ(sim.Send("AT+INFO1?\r"), Line("+INFO1,001A7DDA7113,Bob,3,IDLE") + kOk);
    EXPECT_EQ(sim.Send("AT+INFO2?\r"), Line("+INFO2,1,0,0,0,0") + kOk);
}

TEST(ModuleModelReset, TargetAndQuietModeTakeEffectAtOnceAndSurviveTheReset) {
    Harness sim;
    sim.Send("AT+TADDR=a1b2c3d4e5f6\r");
    EXPECT_EQ(sim.Send("AT+TADDR?\r"), Line("+TADDR,A1B2C3D4E5F6") + kOk);
    EXPECT_EQ(sim.Send("AT+QM=1\r"), "");
    EXPECT_EQ(sim.Send("ATZ\r"), "");
    EXPECT_EQ(sim.Send("AT+QM?\r"), Line("+QM,1"));
    EXPECT_EQ(sim.Send("AT+TADDR?\r"), Line("+TADDR,A1B2C3D4E5F6"));
}

TEST(ModuleModelReset, FactoryResetRestoresEveryDefaultAtOnce) {
    SimConfig config;
    config.settings.name = "Custom";
    config.settings.opMode = 2;
    config.settings.uart = {{9600, 'N', 1}, 1};
    config.settings.target = kPhone;
    Harness sim(config);
    sim.Send("AT+NAME=Pending\rAT+UART=57600,N,1,0\r");

    EXPECT_EQ(sim.Send("AT&F\r"), kOk);
    const ModuleSnapshot state = sim.State();
    EXPECT_EQ(state.factoryResets, 1);
    EXPECT_EQ(state.current, config.factory);
    EXPECT_EQ(state.written, config.factory);
    EXPECT_EQ(sim.Send("AT+INFO1?\r"), Line("+INFO1,001A7DDA7113,Tarnel,0,IDLE") + kOk);
    EXPECT_EQ(sim.Send("AT+TADDR?\r"), Line("+TADDR,000000000000") + kOk);
    EXPECT_EQ(sim.Send("AT+INFO2?\r"), Line("+INFO2,0,0,0,0,0") + kOk);
}

TEST(ModuleModelQuietMode, SuppressesOkErrorAndReportsButNotDataLines) {
    SimConfig config;
    config.settings.quietMode = true;
    config.state = ModuleState::Connected;
    Harness sim(config);
    EXPECT_EQ(sim.Send("+++\r"), "");
    EXPECT_EQ(sim.Send("AT\r"), "");
    EXPECT_EQ(sim.Send("AT+BOGUS\r"), "");
    EXPECT_EQ(sim.Send("AT+QM?\r"), Line("+QM,1"));
    EXPECT_EQ(sim.Send("AT+VER?\r"), Line("+VER,1.2.0"));
    EXPECT_EQ(sim.Send("AT+DISC\r"), "");
    EXPECT_EQ(sim.State().state, ModuleState::Idle);
    // Switching responses on is the first command answered again.
    EXPECT_EQ(sim.Send("AT+QM=0\r"), kOk);
    EXPECT_EQ(sim.Send("AT\r"), kOk);
}

TEST(ModuleModelQuietMode, SwitchingResponsesOffIsNotAnswered) {
    Harness sim;
    EXPECT_EQ(sim.Send("AT+QM=1\r"), "");
    EXPECT_TRUE(sim.State().current.quietMode);
    EXPECT_EQ(sim.Send("AT+QM=7\r"), "");
    EXPECT_TRUE(sim.State().current.quietMode);
}

TEST(ModuleModelInquiry, ReportsDevicesOverTimeThenOk) {
    Harness sim(WithDevices({{kSpeaker, "거실 스피커", -52, 0x240414, 1500ms},
                             {kPhone, "Field Phone", -67, 0x5A020C, 2500ms},
                             {kPhone, "Too late", -90, 0x1F00, 6000ms}}));
    EXPECT_EQ(sim.Send("AT+INQ=60,1\r"), "");
    EXPECT_EQ(sim.State().state, ModuleState::Inquiring);
    EXPECT_EQ(sim.Advance(1499ms), "");
    EXPECT_EQ(sim.Advance(1ms), Line("+INQ,001BDC0F3A21,240414,-52,거실 스피커"));
    EXPECT_EQ(sim.Advance(999ms), "");
    EXPECT_EQ(sim.Advance(1ms), Line("+INQ,74E543B019C7,5A020C,-67,Field Phone"));
    EXPECT_EQ(sim.Send("AT+INQ=60,1\r"), kError);
    EXPECT_EQ(sim.Advance(2499ms), "");
    EXPECT_EQ(sim.Advance(1ms), kOk);
    EXPECT_EQ(sim.State().state, ModuleState::Idle);
    EXPECT_EQ(sim.Advance(10s), "");
    EXPECT_FALSE(sim.model.NextWake());
}

TEST(ModuleModelInquiry, EndsAtTheTimeTheCommandAsksWhenShorter) {
    Harness sim(WithDevices({{kSpeaker, "A", -50, 0x200, 1500ms}, {kPhone, "B", -60, 0x200, 2500ms}}));
    sim.Send("AT+INQ=2,1\r");
    EXPECT_EQ(sim.Advance(2s), Line("+INQ,001BDC0F3A21,000200,-50,A") + kOk);
}

TEST(ModuleModelInquiry, CancelStopsReportsAndTheEndOk) {
    Harness sim(WithDevices({{kSpeaker, "A", -50, 0x200, 1000ms}, {kPhone, "B", -60, 0x200, 3000ms}}));
    sim.Send("AT+INQ=60,1\r");
    EXPECT_EQ(sim.Advance(1s), Line("+INQ,001BDC0F3A21,000200,-50,A"));
    EXPECT_EQ(sim.Send("AT+OPCANCEL\r"), kOk);
    EXPECT_EQ(sim.State().state, ModuleState::Idle);
    EXPECT_EQ(sim.Advance(30s), "");
}

TEST(ModuleModelInquiry, ResetAbortsAnInquiryAndANewOneStartsClean) {
    Harness sim(WithDevices({{kSpeaker, "A", -50, 0x200, 1000ms}}));
    sim.Send("AT+INQ=60,1\r");
    EXPECT_EQ(sim.Send("ATZ\r"), kOk);
    EXPECT_EQ(sim.Advance(500ms), "");
    sim.Send("AT+INQ=60,1\r");
    EXPECT_EQ(sim.Advance(1s), Line("+INQ,001BDC0F3A21,000200,-50,A"));
    EXPECT_EQ(sim.Advance(4s), kOk);
}

TEST(ModuleModelInquiry, InQuietModeReportsComeButNoEndOk) {
    SimConfig config = WithDevices({{kSpeaker, "A", -50, 0x200, 1000ms}});
    config.settings.quietMode = true;
    Harness sim(config);
    sim.Send("AT+INQ=60,1\r");
    EXPECT_EQ(sim.Advance(10s), Line("+INQ,001BDC0F3A21,000200,-50,A"));
    EXPECT_EQ(sim.State().state, ModuleState::Idle);
}

TEST(ModuleModelScan, LastsTheAskedSeconds) {
    Harness sim;
    EXPECT_EQ(sim.Send("AT+SCAN=3,2\r"), kOk);
    EXPECT_EQ(sim.Send("AT+INFO1?\r"), Line("+INFO1,001A7DDA7113,Tarnel,0,SCANNING") + kOk);
    sim.Advance(2s);
    EXPECT_EQ(sim.State().state, ModuleState::Idle);
}

TEST(ModuleModelConnection, DataModeSwallowsCommandsUntilTheEscape) {
    SimConfig config;
    config.state = ModuleState::Connected;
    Harness sim(config);
    EXPECT_TRUE(sim.State().dataMode);
    EXPECT_EQ(sim.Send("AT\r"), "");
    EXPECT_EQ(sim.Send("hello +++\r"), kOk);
    EXPECT_FALSE(sim.State().dataMode);
    EXPECT_EQ(sim.Send("AT+INFO1?\r"), Line("+INFO1,001A7DDA7113,Tarnel,0,CONNECTED") + kOk);
    EXPECT_EQ(sim.Send("AT+DISC\r"), kOk + Line("+DISC,00025B00A5A5"));
    EXPECT_EQ(sim.State().state, ModuleState::Idle);
    EXPECT_EQ(sim.Send("AT+DISC\r"), kError);
}

TEST(ModuleModelConnection, DisconnectReportWaitsForItsDelay) {
    SimConfig config;
    config.state = ModuleState::Connected;
    config.discReportDelay = 300ms;
    Harness sim(config);
    sim.Send("+++\r");
    EXPECT_EQ(sim.Send("AT+DISC\r"), kOk);
    EXPECT_EQ(sim.State().state, ModuleState::Connected);
    EXPECT_EQ(sim.Advance(299ms), "");
    EXPECT_EQ(sim.Advance(1ms), Line("+DISC,00025B00A5A5"));
}

TEST(ModuleModelConnection, PeerConnectingIsReportedAndEntersDataMode) {
    Harness sim;
    sim.model.ConnectPeer(kPhone, sim.now);
    EXPECT_EQ(sim.model.TakeOutput(sim.now), Line("+CONN,74E543B019C7"));
    const ModuleSnapshot state = sim.State();
    EXPECT_EQ(state.state, ModuleState::Connected);
    EXPECT_EQ(state.peer, kPhone);
    EXPECT_TRUE(state.dataMode);
    sim.model.ConnectPeer(kSpeaker, sim.now);
    EXPECT_EQ(sim.State().peer, kPhone);
}

TEST(ModuleModelConnection, ConnectingIsCancelled) {
    SimConfig config;
    config.state = ModuleState::Connecting;
    Harness sim(config);
    EXPECT_EQ(sim.Send("AT+INFO1?\r"), Line("+INFO1,001A7DDA7113,Tarnel,0,CONNECTING") + kOk);
    EXPECT_EQ(sim.Send("AT+OPCANCEL\r"), kOk);
    EXPECT_EQ(sim.State().state, ModuleState::Idle);
}

TEST(ModuleModelHostLine, AnotherFramingIsNeitherHeardNorAnswered) {
    SimConfig config;
    config.replyDelay = 50ms;
    Harness sim(config);
    sim.model.SetHostLine({19200, 'N', 1});
    EXPECT_EQ(sim.Send("AT\r"), "");
    EXPECT_EQ(sim.Advance(100ms), "");
    sim.model.SetHostLine({9600, 'E', 1});
    EXPECT_EQ(sim.Send("AT\r"), "");
    sim.model.SetHostLine({9600, 'N', 2});
    EXPECT_EQ(sim.Send("AT\r"), "");
    EXPECT_EQ(sim.Advance(100ms), "");
    EXPECT_TRUE(sim.State().commands.empty());
    EXPECT_EQ(sim.State().received, "AT\rAT\rAT\r");

    sim.model.SetHostLine({9600, 'N', 1});
    sim.Send("AT\r");
    // The host changes its framing before the delayed answer leaves.
    sim.model.SetHostLine({4800, 'N', 1});
    EXPECT_EQ(sim.Advance(100ms), "");
    sim.model.SetHostLine({9600, 'N', 1});
    sim.Send("AT\r");
    EXPECT_EQ(sim.Advance(50ms), kOk);
}

TEST(ModuleModelKnobs, ReplyDelayHoldsEveryAnswer) {
    SimConfig config;
    config.replyDelay = 120ms;
    Harness sim(config);
    EXPECT_EQ(sim.Send("AT\r"), "");
    EXPECT_EQ(sim.model.NextWake(), sim.now + 120ms);
    EXPECT_EQ(sim.Advance(119ms), "");
    EXPECT_EQ(sim.Advance(1ms), kOk);
}

TEST(ModuleModelKnobs, SilentErrorAndOverriddenCommandsHaveNoEffect) {
    SimConfig config;
    config.silentCommands = {"AT+NAME"};
    config.errorCommands = {"AT+OPMODE", "ATZ"};
    config.replyOverrides = {{"AT+VER?", "+VER,9\r\n"}, {"AT+UART", "\r\nOK"}};
    Harness sim(config);
    EXPECT_EQ(sim.Send("AT+NAME=Bob\r"), "");
    EXPECT_EQ(sim.Send("AT+OPMODE=1\r"), kError);
    EXPECT_EQ(sim.Send("AT+VER?\r"), "+VER,9\r\n");
    EXPECT_EQ(sim.Send("AT+UART=115200,N,1,0\r"), "\r\nOK");
    EXPECT_EQ(sim.Send("ATZ\r"), kError);
    const ModuleSnapshot state = sim.State();
    EXPECT_EQ(state.written, config.settings);
    EXPECT_EQ(state.resets, 0);
    // The knobs pick commands by name, so other commands are untouched.
    EXPECT_EQ(sim.Send("AT+INFO1?\r"), Line("+INFO1,001A7DDA7113,Tarnel,0,IDLE") + kOk);
}

TEST(ModuleModelKnobs, DataLinesWithoutOk) {
    SimConfig config;
    config.okAfterData = false;
    Harness sim(config);
    EXPECT_EQ(sim.Send("AT+VER?\r"), Line("+VER,1.2.0"));
    EXPECT_EQ(sim.Send("AT\r"), kOk);
}

// A data line's OK may follow after a pause; whatever the module says next
// waits behind it, as does every line behind the gap between two lines.
TEST(ModuleModelKnobs, PausesHoldLaterLinesBackInOrder) {
    struct Case {
        const char* what;
        Duration okDelay;
        Duration lineGap;
        std::string atThePause;  // what leaves once the pause is over
        std::string later;       // and one gap after that
    };
    for (const Case& c :
         {Case{"OK delay", 100ms, 0ms, kOk + kOk, ""}, Case{"line gap", 0ms, 100ms, kOk, kOk}}) {
        SCOPED_TRACE(c.what);
        SimConfig config;
        config.okDelay = c.okDelay;
        config.lineGap = c.lineGap;
        Harness sim(config);
        EXPECT_EQ(sim.Send("AT+VER?\r"), Line("+VER,1.2.0"));
        EXPECT_EQ(sim.Send("AT\r"), "");
        EXPECT_EQ(sim.Advance(99ms), "");
        EXPECT_EQ(sim.Advance(1ms), c.atThePause);
        EXPECT_EQ(sim.Advance(100ms), c.later);
    }
}

TEST(ModuleModelKnobs, CommandDelayHoldsOnlyItsCommand) {
    SimConfig config;
    config.state = ModuleState::Connected;
    config.errorCommands = {"AT+DISC"};
    config.commandDelays = {{"AT+DISC", 1500ms}};
    Harness sim(config);
    EXPECT_EQ(sim.Send("+++\r"), kOk);
    EXPECT_EQ(sim.Send("AT+DISC\r"), "");
    EXPECT_EQ(sim.Advance(1499ms), "");
    EXPECT_EQ(sim.Advance(1ms), kError);
    EXPECT_EQ(sim.State().state, ModuleState::Connected);
}

TEST(ModuleModelKnobs, InquiryAcknowledgedAtOnce) {
    SimConfig config = WithDevices({{kSpeaker, "A", -50, 0x200, 100ms}});
    config.inquiryOk = true;
    config.inquiryTime = 500ms;
    Harness sim(config);
    EXPECT_EQ(sim.Send("AT+INQ=60,1\r"), kOk);
    EXPECT_EQ(sim.Advance(100ms), Line("+INQ,001BDC0F3A21,000200,-50,A"));
    EXPECT_EQ(sim.Advance(400ms), kOk);
}

TEST(ModuleModelKnobs, HangsUpWhenTheCountOfBytesArrives) {
    SimConfig config;
    config.hangUpAfterBytes = 5;
    config.replyDelay = 10ms;
    Harness sim(config);
    EXPECT_EQ(sim.Send("AT\r"), "");
    EXPECT_FALSE(sim.model.HungUp());
    EXPECT_EQ(sim.Send("AT\r"), "");
    EXPECT_TRUE(sim.model.HungUp());
    EXPECT_EQ(sim.Advance(1s), "");
    EXPECT_EQ(sim.State().received, "AT\rAT");
    EXPECT_FALSE(sim.model.NextWake());
}

TEST(ModuleModelKnobs, PacedOutputLeavesAtTheByteRate) {
    SimConfig config;
    config.paceOutput = true;
    Harness sim(config);
    // 9600 8N1: ten bits a byte, 1.0417 ms each.
    EXPECT_EQ(sim.Send("AT\r"), "");
    EXPECT_EQ(sim.Advance(1ms), "");
    EXPECT_EQ(sim.Advance(100us), "\r");
    EXPECT_EQ(sim.Advance(2100us), "\nO");
    EXPECT_EQ(sim.Send("AT\r"), "");
    // The second answer queues behind the first.
    EXPECT_EQ(sim.Advance(5ms), "K\r\n\r");
    EXPECT_EQ(sim.Advance(4300us), "\nOK\r\n");

    SimConfig slow = config;
    slow.settings.uart.line = {1200, 'E', 2};  // twelve bits a byte: 10 ms
    Harness slowSim(slow);
    slowSim.Send("AT\r");
    EXPECT_EQ(slowSim.Advance(59ms), "\r\nOK\r");
    EXPECT_EQ(slowSim.Advance(1ms), "\n");
}

}  // namespace
}  // namespace tarnel::sim
