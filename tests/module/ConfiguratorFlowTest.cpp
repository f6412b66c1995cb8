// The configurator's flow against the simulated module on a pseudo-terminal:
// each step's result and what the flow makes of it, the message included.

#include "module/ConfiguratorFlow.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "module/MessageIds.h"
#include "protocol/TarnelComm.h"
#include "sim/PtyModule.h"

namespace {

using namespace std::chrono_literals;
using tarnel::sim::ModuleState;
using tarnel::sim::PtyModule;
using tarnel::sim::SimConfig;

auto Tie(const FlowOutcome& o) {
    return std::tuple(static_cast<int>(o.next), o.message, o.failed);
}

SimConfig With(ModuleState state, std::set<std::string> errors = {}, uint32_t baud = 9600) {
    SimConfig config;
    config.state = state;
    config.errorCommands = std::move(errors);
    config.settings.uart.line.baud = baud;
    return config;
}

class ConfiguratorFlowTest : public ::testing::Test {
protected:
    void Serve(SimConfig config) {
        m_comm.Close();
        m_sim = std::make_unique<PtyModule>(std::move(config));
        ASSERT_FALSE(m_sim->Start());
        ASSERT_FALSE(m_comm.Open(m_sim->SlavePath(), 9600, 8, 0, 0, 0));
        m_flow.Begin();
    }
    void TearDown() override { m_comm.Close(); }

    ModuleResult RunStep(FlowStep step) {
        switch (step) {
            case FlowStep::Check:
                return m_flow.Check();
            case FlowStep::Read:
                return m_flow.Read(m_reading);
            case FlowStep::Disconnect:
                return m_flow.Disconnect();
            case FlowStep::Apply:
                m_write.name = "Sensor-1";
                return m_flow.Apply(m_write, m_reading.devInfo);
            case FlowStep::FactoryReset:
                return m_flow.FactoryReset();
            case FlowStep::StartSearch:
                return m_flow.StartSearch();
            case FlowStep::NextReport:
                return m_flow.NextReport(m_report);
            case FlowStep::StopSearch:
                return m_flow.StopSearch();
        }
        return ModuleResult::Failed;
    }

    TarnelComm m_comm;
    ConfiguratorFlow m_flow{m_comm};
    ModuleReading m_reading;
    ModuleWrite m_write;
    InquiryResult m_report{};
    std::unique_ptr<PtyModule> m_sim;
};

// Each case runs its steps in order on a fresh module; the last one's
// outcome is checked.
TEST_F(ConfiguratorFlowTest, EachStepLeadsOnAndNamesItsMessage) {
    using S = FlowStep;
    using N = FlowNext;
    constexpr auto kIdle = ModuleState::Idle;
    constexpr auto kConnected = ModuleState::Connected;
    struct Case {
        const char* what;
        SimConfig module;
        std::vector<FlowStep> steps;
        FlowOutcome outcome;
    };
    // clang-format off
    const Case cases[] = {
        {"check", With(kIdle), {S::Check}, {N::Read, 0, false}},
        {"check, nobody at 9600", With(kIdle, {}, 115200), {S::Check}, {N::GiveUp, IDS_DEVICE_STATE_UNKNOWN, true}},
        {"check, no model", With(kIdle, {"AT+MODELNAME?"}), {S::Check}, {N::GiveUp, IDS_DEVICE_STATE_UNKNOWN, true}},
        {"read", With(kIdle), {S::Read}, {N::Ready, 0, false}},
        {"read, refused", With(kIdle, {"AT+INFO2?"}), {S::Read}, {N::GiveUp, IDS_DEVICE_STATE_UNKNOWN, true}},
        {"read, connected", With(kConnected), {S::Check, S::Read}, {N::AskDisconnect, IDS_CONNECTED_WILL_DISCONNECT, false}},
        {"disconnect", With(kConnected), {S::Check, S::Disconnect}, {N::Check, 0, false}},
        {"disconnect, refused", With(kConnected, {"AT+DISC"}), {S::Check, S::Disconnect}, {N::Check, IDS_DISCONNECT_FAILED, true}},
        {"still connected after that", With(kConnected, {"AT+DISC"}), {S::Check, S::Disconnect, S::Check, S::Read}, {N::GiveUp, 0, true}},
        {"apply", With(kIdle), {S::Apply}, {N::ResetModule, IDS_SETTING_COMPLETED, false}},
        {"apply, refused", With(kIdle, {"AT+UART"}), {S::Apply}, {N::Check, IDS_SETTING_FAILED, true}},
        {"factory reset, refused or not", With(kIdle, {"AT&F"}), {S::FactoryReset}, {N::GiveUp, 0, false}},
        {"search", With(kIdle), {S::StartSearch}, {N::NextReport, 0, false}},
        {"search, refused", With(kIdle, {"AT+INQ"}), {S::StartSearch}, {N::Stop, IDS_SEARCH_FAILED, true}},
        {"stop search", With(kIdle), {S::StartSearch, S::StopSearch}, {N::Check, 0, false}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_NO_FATAL_FAILURE(Serve(c.module));
        FlowOutcome outcome;
        for (const FlowStep step : c.steps)
            outcome = m_flow.After(step, RunStep(step), m_reading.devInfo);
        EXPECT_EQ(Tie(outcome), Tie(c.outcome));
    }
}

TEST_F(ConfiguratorFlowTest, ASearchListsItsReportsAndEndsInMessage116) {
    SimConfig config;
    config.inquiryTime = 2000ms;
    ASSERT_NO_FATAL_FAILURE(Serve(config));
    FlowOutcome outcome = m_flow.After(FlowStep::StartSearch, m_flow.StartSearch());
    int reports = 0;
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (outcome.next == FlowNext::NextReport && std::chrono::steady_clock::now() < deadline) {
        const ModuleResult result = m_flow.NextReport(m_report);
        reports += result == ModuleResult::Ok ? 1 : 0;
        outcome = m_flow.After(FlowStep::NextReport, result);
    }
    EXPECT_EQ(Tie(outcome), Tie({FlowNext::Check, IDS_SEARCH_COMPLETED, false}));
    EXPECT_EQ(reports, static_cast<int>(tarnel::sim::DemoDevices().size()));
}

// What the module's replies cannot bring about: the parser takes no other
// operation mode, a closing comes from the caller, and a new opening forgets
// the failed disconnect of the last one.
TEST_F(ConfiguratorFlowTest, OutcomesOfResultsTheSimulatorCannotGive) {
    DeviceInfo modeFour{};
    modeFour.opMode = 4;
    EXPECT_EQ(Tie(m_flow.After(FlowStep::Read, ModuleResult::Ok, modeFour)),
              Tie({FlowNext::GiveUp, IDS_UNKNOWN_OP_MODE, true}));
    EXPECT_EQ(Tie(m_flow.After(FlowStep::NextReport, ModuleResult::Closed)), Tie({FlowNext::Stop, 0, false}));
    EXPECT_EQ(Tie(m_flow.After(FlowStep::NextReport, ModuleResult::NoReport)),
              Tie({FlowNext::NextReport, 0, false}));

    DeviceInfo connected{};
    connected.state = STATE_CONNECTED;
    m_flow.After(FlowStep::Disconnect, ModuleResult::Failed);
    m_flow.Begin();
    EXPECT_EQ(Tie(m_flow.After(FlowStep::Read, ModuleResult::Ok, connected)),
              Tie({FlowNext::AskDisconnect, IDS_CONNECTED_WILL_DISCONNECT, false}));
}

}  // namespace
