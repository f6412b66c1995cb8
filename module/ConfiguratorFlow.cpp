#include "module/ConfiguratorFlow.h"

#include <utility>

#include "module/MessageIds.h"
#include "protocol/PayloadRecords.h"

namespace {

constexpr FlowOutcome Go(FlowNext next) {
    return {next, 0, false};
}

constexpr FlowOutcome Tell(FlowNext next, int message) {
    return {next, message, false};
}

constexpr FlowOutcome Fail(FlowNext next, int message) {
    return {next, message, true};
}

}  // namespace

ConfiguratorFlow::ConfiguratorFlow(TarnelComm& comm, std::function<void()> beforeResponsesOn)
    : m_module(comm, std::move(beforeResponsesOn)) {}

ModuleResult ConfiguratorFlow::Check(std::string* model) {
    return m_module.Check(model);
}

ModuleResult ConfiguratorFlow::Read(ModuleReading& reading) {
    return m_module.Read(reading);
}

ModuleResult ConfiguratorFlow::Disconnect() {
    return m_module.Disconnect();
}

ModuleResult ConfiguratorFlow::Apply(const ModuleWrite& values, DeviceInfo& current) {
    return m_module.Apply(values, current);
}

ModuleResult ConfiguratorFlow::FactoryReset() {
    return m_module.FactoryReset();
}

void ConfiguratorFlow::ResetModule() {
    m_module.Reset();
}

ModuleResult ConfiguratorFlow::StartSearch() {
    return m_module.StartInquiry();
}

ModuleResult ConfiguratorFlow::NextReport(InquiryResult& report) {
    return m_module.NextInquiryReport(report);
}

ModuleResult ConfiguratorFlow::StopSearch() {
    return m_module.StopInquiry();
}

FlowOutcome ConfiguratorFlow::After(FlowStep step, ModuleResult result, const DeviceInfo& info) {
    const bool ok = result == ModuleResult::Ok;
    switch (step) {
        case FlowStep::Check:
            return ok ? Go(FlowNext::Read) : Fail(FlowNext::GiveUp, IDS_DEVICE_STATE_UNKNOWN);
        case FlowStep::Read:
            return AfterRead(result, info);
        case FlowStep::Disconnect:
            m_disconnectFailed = !ok;
            return ok ? Go(FlowNext::Check) : Fail(FlowNext::Check, IDS_DISCONNECT_FAILED);
        case FlowStep::Apply:
            return ok ? Tell(FlowNext::ResetModule, IDS_SETTING_COMPLETED)
                      : Fail(FlowNext::Check, IDS_SETTING_FAILED);
        case FlowStep::FactoryReset:
            // The module restarts at its factory framing, which the port may not have.
            return Go(FlowNext::GiveUp);
        case FlowStep::StartSearch:
            return ok ? Go(FlowNext::NextReport) : Fail(FlowNext::Stop, IDS_SEARCH_FAILED);
        case FlowStep::NextReport:
            if (result == ModuleResult::SearchEnded) return Tell(FlowNext::Check, IDS_SEARCH_COMPLETED);
            return result == ModuleResult::Closed ? Go(FlowNext::Stop) : Go(FlowNext::NextReport);
        case FlowStep::StopSearch:
            // Whether or not the module confirmed, the read after the check ends the inquiry.
            return Go(FlowNext::Check);
    }
    return Go(FlowNext::Ready);
}

void ConfiguratorFlow::Begin() {
    m_disconnectFailed = false;
}

FlowOutcome ConfiguratorFlow::AfterRead(ModuleResult result, const DeviceInfo& info) {
    const bool disconnectFailed = std::exchange(m_disconnectFailed, false);
    if (result != ModuleResult::Ok) return Fail(FlowNext::GiveUp, IDS_DEVICE_STATE_UNKNOWN);
    if (info.opMode > 3) return Fail(FlowNext::GiveUp, IDS_UNKNOWN_OP_MODE);
    if (info.state != STATE_CONNECTED) return Go(FlowNext::Ready);
    // The failed disconnect has told the user; asking again would only go
    // round the same circle.
    if (disconnectFailed) return Fail(FlowNext::GiveUp, 0);
    return Tell(FlowNext::AskDisconnect, IDS_CONNECTED_WILL_DISCONNECT);
}
