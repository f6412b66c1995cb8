#include "config/JobResult.h"

#include <algorithm>
#include <iterator>

#include "config/JobCodes.h"

namespace {

struct ResultCode {
    StepResult result;
    int32_t code;
};

constexpr ResultCode kResults[] = {
    {StepResult::Ok, JR_OK},
    {StepResult::Failed, JR_FAILED},
    {StepResult::NoModel, JR_NO_MODEL},
    {StepResult::NoReport, JR_WAIT_FAILED},
    {StepResult::SearchEnded, JR_SEARCH_DONE},
    {StepResult::NameFailed, JR_NAME_FAILED},
    {StepResult::UartFailed, JR_UART_FAILED},
    {StepResult::TargetFailed, JR_TARGET_FAILED},
    {StepResult::OpModeFailed, JR_OPMODE_FAILED},
    {StepResult::ResponseFailed, JR_RESPONSE_FAILED},
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

int32_t JobResultOf(StepResult result) {
    const auto* it = std::find_if(std::begin(kResults), std::end(kResults),
                                  [result](const ResultCode& entry) { return entry.result == result; });
    return it == std::end(kResults) ? JR_FAILED : it->code;
}

StepResult StepResultOf(int32_t jobResult) {
    const auto* it = std::find_if(std::begin(kResults), std::end(kResults),
                                  [jobResult](const ResultCode& entry) { return entry.code == jobResult; });
    return it == std::end(kResults) ? StepResult::Failed : it->result;
}

bool StepOfJob(int32_t job, FlowStep& step) {
    const auto* it = std::find_if(std::begin(kJobs), std::end(kJobs),
                                  [job](const JobStep& entry) { return entry.job == job; });
    if (it == std::end(kJobs)) return false;
    step = it->step;
    return true;
}
