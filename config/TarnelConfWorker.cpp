// The configurator page's worker thread: its queue and the jobs, which run
// the steps of the configurator's flow. Part of TarnelConfPage, whose class
// spans three files (see TarnelConfPage.cpp).

#include "config/TarnelConfPage.h"

#include <cstdint>

#include "config/JobCodes.h"
#include "config/JobResult.h"
#include "platform/ServingWait.h"

void TarnelConfPage::Enqueue(int32_t job, bool clearFirst) {
    {
        auto lock = ui::LockServing(m_jobMutex);
        if (clearFirst) m_jobs.clear();
        m_jobs.push_back(job);
    }
    m_jobCond.notify_all();
}

void TarnelConfPage::WorkerLoop(uint16_t opening) {
    std::unique_lock lock(m_jobMutex);
    while (!m_stopWorker) {
        m_jobCond.wait(lock, [this] { return !m_jobs.empty(); });
        const int32_t job = m_jobs.front();
        m_jobs.pop_front();
        if (job == JOB_QUIT) return;
        // A poll runs while the user picks rows or clicks Stop: it must not
        // make the pointer busy.
        const bool userWaits = job != JOB_NEXT_RESULT;
        if (userWaits) BeginWait();
        const int32_t result = RunJob(job);
        if (result == END_THREAD) return;
        if (result != POST_NOTHING) {
            PostMessage(WM_JOB_RESULT, ui::MAKEWPARAM(job, opening), result);
        } else if (userWaits) {
            EndWait();  // no result comes to end it
        }
    }
}

int32_t TarnelConfPage::RunJob(int32_t job) {
    switch (job) {
        case JOB_CHECK_DEVICE:
            return JobCheckDevice();
        case JOB_READ_SETTINGS:
            return JobReadSettings();
        case JOB_FACTORY_RESET:
            return JobFactoryReset();
        case JOB_START_SEARCH:
            return JobStartSearch();
        case JOB_NEXT_RESULT:
            return JobNextResult();
        case JOB_APPLY:
            return JobApply();
        case JOB_STOP_SEARCH:
            return JobStopSearch();
        case JOB_DISCONNECT:
            return JobDisconnect();
        default:
            return POST_NOTHING;
    }
}

// --- Jobs (worker thread) ---------------------------------------------------------

namespace {

// What the worker posts for `result`: a closed engine leaves nothing to report.
int32_t Posted(StepResult result, int32_t whenClosed) {
    return result == StepResult::Closed ? whenClosed : JobResultOf(result);
}

}  // namespace

int32_t TarnelConfPage::JobCheckDevice() {
    return Posted(m_flow.Check(), END_THREAD);
}

// What the read does not reach keeps the value the page had.
int32_t TarnelConfPage::JobReadSettings() {
    ModuleReading reading{m_fwVersion, m_devInfo, m_uartInfo, m_curTarget, m_curResponse};
    const StepResult result = m_flow.Read(reading);
    if (result == StepResult::Closed) return END_THREAD;
    m_fwVersion = reading.fwVersion;
    m_devInfo = reading.devInfo;
    m_uartInfo = reading.uartInfo;
    m_curTarget = reading.target;
    m_curResponse = reading.responses;
    m_searchState = 0;
    return JobResultOf(result);
}

int32_t TarnelConfPage::JobFactoryReset() {
    return Posted(m_flow.FactoryReset(), POST_NOTHING);
}

int32_t TarnelConfPage::JobApply() {
    const ModuleWrite values{m_newName, m_newBaud,   m_newParity, m_newStopBits,
                             m_newFlow, m_newOpMode, m_newTarget, m_newResponse};
    return Posted(m_flow.Apply(values, m_devInfo), POST_NOTHING);
}

int32_t TarnelConfPage::JobDisconnect() {
    return Posted(m_flow.Disconnect(), POST_NOTHING);
}

int32_t TarnelConfPage::JobStartSearch() {
    return Posted(m_flow.StartSearch(), POST_NOTHING);
}

int32_t TarnelConfPage::JobNextResult() {
    if (m_searchState != 1) return POST_NOTHING;
    return Posted(m_flow.NextReport(m_inqResult), POST_NOTHING);
}

int32_t TarnelConfPage::JobStopSearch() {
    if (m_searchState != 1) return POST_NOTHING;
    return Posted(m_flow.StopSearch(), POST_NOTHING);
}
