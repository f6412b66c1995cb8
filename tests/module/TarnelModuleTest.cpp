// The module's command sequences against the simulated module on a
// pseudo-terminal: what each sequence reports and what it leaves the module
// as, for well-behaved modules and for the awkward ones.

#include "module/TarnelModule.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "protocol/TarnelComm.h"
#include "sim/PtyModule.h"
#include "tests/support/WaitUntil.h"

namespace {

using tarnel::sim::ModuleState;
using tarnel::sim::PtyModule;
using tarnel::sim::SimConfig;
using tarnel::test::WaitUntil;

class TarnelModuleTest : public ::testing::Test {
protected:
    void Serve(SimConfig config = {}) {
        m_sim = std::make_unique<PtyModule>(std::move(config));
        ASSERT_FALSE(m_sim->Start());
        ASSERT_FALSE(m_comm.Open(m_sim->SlavePath(), 9600, 8, 0, 0, 0));
    }
    void TearDown() override { m_comm.Close(); }

    int Sent(const std::string& command) const {
        const auto commands = m_sim->Commands();
        return static_cast<int>(std::count(commands.begin(), commands.end(), command));
    }
    int SentStartingWith(const std::string& prefix) const {
        const auto commands = m_sim->Commands();
        return static_cast<int>(std::count_if(commands.begin(), commands.end(),
                                              [&](const std::string& c) { return c.rfind(prefix, 0) == 0; }));
    }

    TarnelComm m_comm;
    int m_warnings = 0;
    TarnelModule m_module{m_comm, [this] { ++m_warnings; }};
    std::unique_ptr<PtyModule> m_sim;
};

TEST_F(TarnelModuleTest, CheckAndReadGiveWhatTheModuleHolds) {
    SimConfig config;
    config.settings.name = "Bench-7";
    config.settings.opMode = 3;
    config.settings.uart.flowControl = true;
    config.settings.target = {0xA1, 0xB2, 0xC3, 0xD4, 0xE5, 0xF6};
    Serve(config);

    EXPECT_EQ(m_module.Check(), ModuleResult::Ok);
    ModuleReading reading;
    ASSERT_EQ(m_module.Read(reading), ModuleResult::Ok);
    EXPECT_EQ(reading.fwVersion, "1.2.0");
    EXPECT_STREQ(reading.devInfo.name, "Bench-7");
    EXPECT_EQ(reading.devInfo.opMode, 3);
    EXPECT_EQ(reading.devInfo.state, STATE_IDLE);
    EXPECT_EQ(reading.uartInfo[0], 1);
    BdAddr target;
    ASSERT_TRUE(ParseBdAddr("A1B2C3D4E5F6", target));
    EXPECT_EQ(reading.target, target);
    EXPECT_EQ(reading.responses, 0);
    EXPECT_EQ(m_warnings, 0);
}

TEST_F(TarnelModuleTest, AModuleWithResponsesOffIsToldBeforeTheyAreSwitchedOn) {
    SimConfig config;
    config.settings.quietMode = true;
    Serve(config);

    EXPECT_EQ(m_module.Check(), ModuleResult::Ok);
    EXPECT_EQ(m_warnings, 1);
    EXPECT_FALSE(m_sim->Snapshot().current.quietMode);
    ModuleReading reading;
    EXPECT_EQ(m_module.Read(reading), ModuleResult::Ok);
    EXPECT_EQ(reading.responses, 0);
}

TEST_F(TarnelModuleTest, ABusyModuleIsCancelledBeforeTheReadGoesOn) {
    for (const ModuleState state : {ModuleState::Inquiring, ModuleState::Scanning, ModuleState::Connecting}) {
        SCOPED_TRACE(static_cast<int>(state));
        SimConfig config;
        config.state = state;
        Serve(config);
        ModuleReading reading;
        EXPECT_EQ(m_module.Read(reading), ModuleResult::Ok);
        EXPECT_EQ(Sent("AT+OPCANCEL"), 1);
        EXPECT_EQ(m_sim->Snapshot().state, ModuleState::Idle);
        m_comm.Close();
    }
}

TEST_F(TarnelModuleTest, ApplyWritesEverySettingAndStopsAtTheFirstRefusal) {
    ModuleWrite values;
    values.name = "Sensor-001";
    values.baud = 115200;
    values.parity = 'E';
    values.stopBits = 2;
    values.opMode = 1;
    ASSERT_TRUE(ParseBdAddr("00025B00A5A5", values.target));

    Serve();
    DeviceInfo current{};
    ASSERT_EQ(m_module.Apply(values, current), ModuleResult::Ok);
    EXPECT_STREQ(current.name, "Tarnel");
    const auto written = m_sim->Snapshot().written;
    EXPECT_EQ(written.name, "Sensor-001");
    EXPECT_EQ(written.uart.line.baud, 115200u);
    EXPECT_EQ(written.uart.line.parity, 'E');
    EXPECT_EQ(written.uart.line.stopBits, 2);
    EXPECT_EQ(written.opMode, 1);
    m_comm.Close();

    // In the order Apply writes them: a refusal stops the writes after it.
    struct Refusal {
        const char* command;
        ModuleResult result;
        const char* nextNotSent;
    };
    for (const Refusal& refusal : {Refusal{"AT+NAME", ModuleResult::NameFailed, "AT+UART"},
                                   Refusal{"AT+UART", ModuleResult::UartFailed, "AT+TADDR"},
                                   Refusal{"AT+TADDR", ModuleResult::TargetFailed, "AT+OPMODE"},
                                   Refusal{"AT+OPMODE", ModuleResult::OpModeFailed, "AT+QM"}}) {
        SCOPED_TRACE(refusal.command);
        SimConfig config;
        config.errorCommands = {refusal.command};
        Serve(config);
        EXPECT_EQ(m_module.Apply(values, current), refusal.result);
        EXPECT_EQ(SentStartingWith(refusal.nextNotSent), 0);
        m_comm.Close();
    }
}

TEST_F(TarnelModuleTest, AValueTheModuleCannotTakeIsNeverSent) {
    Serve();
    ModuleWrite badName;
    badName.name = "a,b";
    ModuleWrite modeFour;
    modeFour.name = "Tarnel";
    modeFour.opMode = 4;
    struct Case {
        ModuleWrite values;
        ModuleResult result;
        const char* command;
    };
    for (const Case& bad : {Case{badName, ModuleResult::NameFailed, "AT+NAME"},
                            Case{modeFour, ModuleResult::OpModeFailed, "AT+OPMODE"}}) {
        SCOPED_TRACE(bad.command);
        DeviceInfo current{};
        EXPECT_EQ(m_module.Apply(bad.values, current), bad.result);
        EXPECT_EQ(SentStartingWith(bad.command), 0);
    }
}

TEST_F(TarnelModuleTest, AModuleThatNeverAnswersFailsTheCheckAndTheRead) {
    SimConfig config;
    config.settings.uart.line.baud = 115200;  // it hears nothing at 9600
    Serve(config);
    EXPECT_EQ(m_module.Check(), ModuleResult::Failed);
    ModuleReading reading;
    EXPECT_EQ(m_module.Read(reading), ModuleResult::Failed);
    EXPECT_EQ(m_warnings, 0);
}

TEST_F(TarnelModuleTest, DisconnectWaitsForTheReportAndFailsWhenRefused) {
    SimConfig late;
    late.state = ModuleState::Connected;
    late.discReportDelay = std::chrono::milliseconds(300);
    Serve(late);
    // A connected module passes bytes to its peer until the check escapes.
    ASSERT_EQ(m_module.Check(), ModuleResult::Ok);
    EXPECT_EQ(m_module.Disconnect(), ModuleResult::Ok);
    EXPECT_EQ(m_sim->Snapshot().state, ModuleState::Idle);
    m_comm.Close();

    SimConfig refusing;
    refusing.state = ModuleState::Connected;
    refusing.errorCommands = {"AT+DISC"};
    Serve(refusing);
    ASSERT_EQ(m_module.Check(), ModuleResult::Ok);
    EXPECT_EQ(m_module.Disconnect(), ModuleResult::Failed);
    EXPECT_EQ(m_sim->Snapshot().state, ModuleState::Connected);
}

TEST_F(TarnelModuleTest, AnInquiryReportsEveryDeviceOnceAndThenItsEnd) {
    Serve();
    ASSERT_EQ(m_module.StartInquiry(), ModuleResult::Ok);
    std::vector<std::string> found;
    InquiryResult report{};
    ModuleResult step = ModuleResult::NoReport;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (step != ModuleResult::SearchEnded && std::chrono::steady_clock::now() < deadline) {
        step = m_module.NextInquiryReport(report);
        if (step == ModuleResult::Ok) found.emplace_back(report.name);
    }
    EXPECT_EQ(step, ModuleResult::SearchEnded);
    EXPECT_EQ(found.size(), tarnel::sim::DemoDevices().size());
}

TEST_F(TarnelModuleTest, ARefusedInquiryFails) {
    SimConfig config;
    config.errorCommands = {"AT+INQ"};
    Serve(config);
    EXPECT_EQ(m_module.StartInquiry(), ModuleResult::Failed);
}

TEST_F(TarnelModuleTest, ClosingTheEngineEndsAWaitingSequenceAtOnce) {
    SimConfig config;
    config.silentCommands = {"AT", "+++", "AT+QM?"};
    Serve(config);
    std::thread closer([this] {
        WaitUntil([this] { return !m_sim->Commands().empty(); }, std::chrono::seconds(10));
        m_comm.Close();
    });
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(m_module.Check(), ModuleResult::Closed);
    closer.join();
    // Check's three silent commands would take over 3 s without the close.
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(3));
}

}  // namespace

namespace {

TEST_F(TarnelModuleTest, AReadWithQueriesOnlyLeavesResponsesOffAndSendsNoCommandThatChangesAnything) {
    SimConfig config = {};
    config.settings.quietMode = true;
    config.settings.name = "Quiet-1";
    config.state = ModuleState::Inquiring;
    Serve(config);

    ModuleReading reading;
    ASSERT_EQ(m_module.ReadQueriesOnly(reading), ModuleResult::Ok);
    EXPECT_EQ(reading.responses, 1);
    EXPECT_STREQ(reading.devInfo.name, "Quiet-1");
    EXPECT_EQ(reading.devInfo.state, STATE_INQUIRING);
    EXPECT_EQ(m_sim->Commands(),
              (std::vector<std::string>{"AT+QM?", "AT+VER?", "AT+INFO1?", "AT+INFO2?", "AT+TADDR?"}));
    EXPECT_EQ(m_warnings, 0);

    std::string model;
    EXPECT_EQ(m_module.ReadModelName(model), ModuleResult::Ok);
    EXPECT_EQ(model, "TARNEL-BT1");
}

TEST_F(TarnelModuleTest, AProbeIsAnsweredWithResponsesOffAndFailsOnSilenceWithinItsTime) {
    SimConfig config = {};
    config.settings.quietMode = true;
    Serve(config);
    EXPECT_TRUE(m_module.Probe(500));

    config.silentCommands = {"AT+QM?"};
    m_comm.Close();
    Serve(config);
    std::string model;
    const auto started = std::chrono::steady_clock::now();
    EXPECT_FALSE(m_module.Probe(100));
    // Far below the 1.2 s a query normally waits.
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(1000));
    EXPECT_EQ(m_module.ReadModelName(model), ModuleResult::Ok);
}

}  // namespace
