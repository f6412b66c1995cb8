#pragma once

// The worker's job codes and result codes (JobCodes.h) as the steps and
// results of the configurator's flow (module/ConfiguratorFlow.h).

#include <cstdint>

#include "module/ConfiguratorFlow.h"

// The result code that reports `result`; JR_FAILED for Closed, which the
// worker never posts.
int32_t JobResultOf(StepResult result);
// The step result that `jobResult` reports; Failed for an unknown code.
StepResult StepResultOf(int32_t jobResult);
// The flow step that `job` runs; false for JOB_QUIT and unknown codes.
bool StepOfJob(int32_t job, FlowStep& step);
