#include "config/JobResult.h"

#include <algorithm>
#include <iterator>

#include "config/JobCodes.h"

namespace {

struct ResultCode {
    ModuleResult result;
    int32_t code;
};

constexpr ResultCode kResults[] = {
    {ModuleResult::Ok, JR_OK},
    {ModuleResult::Failed, JR_FAILED},
    {ModuleResult::NoModel, JR_NO_MODEL},
    {ModuleResult::NoReport, JR_WAIT_FAILED},
    {ModuleResult::SearchEnded, JR_SEARCH_DONE},
    {ModuleResult::NameFailed, JR_NAME_FAILED},
    {ModuleResult::UartFailed, JR_UART_FAILED},
    {ModuleResult::TargetFailed, JR_TARGET_FAILED},
    {ModuleResult::OpModeFailed, JR_OPMODE_FAILED},
    {ModuleResult::ResponseFailed, JR_RESPONSE_FAILED},
};

struct JobStep {
    int32_t job;
    FlowStep step;
};

constexpr JobStep kJobs[] = {
    {JOB_CHECK_DEVICE, FlowStep::Check},         {JOB_READ_SETTINGS, FlowStep::Read},
    {JOB_DISCONNECT, FlowStep::Disconnect},      {JOB_APPLY, FlowStep::Apply},
    {JOB_FACTORY_RESET, FlowStep::FactoryReset}, {JOB_START_SEARCH, FlowStep::StartSearch},
    {JOB_NEXT_RESULT, FlowStep::NextReport},     {JOB_STOP_SEARCH, FlowStep::StopSearch},
};

}  // namespace

void PostJobResult(const ui::Window& page, const JobResult& result) {
    const auto* it =
        std::find_if(std::begin(kResults), std::end(kResults),
                     [&result](const ResultCode& entry) { return entry.result == result.result; });
    const int32_t code = it == std::end(kResults) ? JR_FAILED : it->code;
    page.PostMessage(WM_JOB_RESULT, ui::MAKEWPARAM(static_cast<unsigned>(result.job), result.opening), code);
}

JobResult ReceiveJobResult(ui::WPARAM wParam, ui::LPARAM lParam) {
    const auto* it = std::find_if(std::begin(kResults), std::end(kResults),
                                  [lParam](const ResultCode& entry) { return entry.code == lParam; });
    return {static_cast<int32_t>(ui::LOWORD(wParam)), static_cast<uint16_t>(ui::HIWORD(wParam)),
            it == std::end(kResults) ? ModuleResult::Failed : it->result};
}

bool StepOfJob(int32_t job, FlowStep& step) {
    const auto* it = std::find_if(std::begin(kJobs), std::end(kJobs),
                                  [job](const JobStep& entry) { return entry.job == job; });
    if (it == std::end(kJobs)) return false;
    step = it->step;
    return true;
}
