#pragma once

// A job's result on its way from the worker to the page. The result codes of
// JobCodes.h exist only inside the message: PostJobResult makes them and
// ReceiveJobResult reads them.

#include <cstdint>

#include "module/ConfiguratorFlow.h"
#include "module/ModuleResult.h"
#include "platform/Window.h"

// wParam the job code in its low word and the opening of the port in its
// high word, lParam the result code.
inline constexpr ui::UINT WM_JOB_RESULT = ui::WM_APP + 0x837;

struct JobResult {
    int32_t job = 0;
    uint16_t opening = 0;
    ModuleResult result = ModuleResult::Failed;
};

// Posts `result` to `page` as WM_JOB_RESULT. Closed has no code, as the
// worker ends instead of reporting it: it goes as JR_FAILED.
void PostJobResult(const ui::Window& page, const JobResult& result);
// The result that WM_JOB_RESULT's parameters carry; Failed for an unknown
// result code.
JobResult ReceiveJobResult(ui::WPARAM wParam, ui::LPARAM lParam);
// The flow step that `job` runs; false for JOB_QUIT and unknown codes.
bool StepOfJob(int32_t job, FlowStep& step);
