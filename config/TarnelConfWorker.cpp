#include "config/TarnelConfWorker.h"

#include <utility>

#include "config/JobCodes.h"
#include "config/JobResult.h"
#include "module/MessageIds.h"
#include "platform/MessageBox.h"
#include "platform/ServingWait.h"

// The user is told before a module's responses are switched back on.
TarnelConfWorker::TarnelConfWorker(TarnelComm& comm, const ui::Window& page, WaitCursorHold& waitCursor)
    : m_flow(comm, [] { ui::AfxMessageBox(IDS_RESPONSE_DISABLED, ui::MB_OK); }),
      m_page(page),
      m_waitCursor(waitCursor) {}

TarnelConfWorker::~TarnelConfWorker() {
    Stop();
}

void TarnelConfWorker::Start(uint16_t opening) {
    {
        auto lock = ui::LockServing(m_jobMutex);
        m_jobs.clear();
    }
    m_stopWorker = false;
    m_thread = std::thread(&TarnelConfWorker::WorkerLoop, this, opening);
}

void TarnelConfWorker::Stop() {
    if (!m_thread.joinable()) return;
    m_stopWorker = true;
    Enqueue(JOB_QUIT, true);
    m_thread.join();
}

void TarnelConfWorker::Enqueue(int32_t job, bool clearFirst) {
    Push({job, {}}, clearFirst);
}

void TarnelConfWorker::Enqueue(const ModuleWrite& values) {
    Push({JOB_APPLY, values}, false);
}

void TarnelConfWorker::Push(Job job, bool clearFirst) {
    {
        auto lock = ui::LockServing(m_jobMutex);
        if (clearFirst) m_jobs.clear();
        m_jobs.push_back(std::move(job));
    }
    m_jobCond.notify_all();
}

void TarnelConfWorker::WorkerLoop(uint16_t opening) {
    m_polling = false;
    std::unique_lock lock(m_jobMutex);
    while (!m_stopWorker) {
        m_jobCond.wait(lock, [this] { return !m_jobs.empty(); });
        const Job job = std::move(m_jobs.front());
        m_jobs.pop_front();
        if (job.code == JOB_QUIT) return;
        // A poll runs while the user picks rows or clicks Stop: it must not
        // make the pointer busy.
        const bool userWaits = job.code != JOB_NEXT_RESULT;
        if (userWaits) m_waitCursor.Begin();
        ModuleResult result = ModuleResult::Failed;
        const Then then = RunJob(job, result);
        if (then == Then::EndThread) return;
        if (then == Then::Post) {
            PostJobResult(m_page, {job.code, opening, result});
        } else if (userWaits) {
            m_waitCursor.End();  // no result comes to end it
        }
    }
}

TarnelConfWorker::Then TarnelConfWorker::RunJob(const Job& job, ModuleResult& result) {
    FlowStep step{};
    if (!StepOfJob(job.code, step)) return Then::PostNothing;
    const bool inquiryStep = step == FlowStep::NextReport || step == FlowStep::StopSearch;
    if (inquiryStep && !m_polling) return Then::PostNothing;
    result = RunStep(step, job.values);
    if (result != ModuleResult::Closed) return Then::Post;
    // A closed engine leaves nothing to report; the check and the read,
    // which every opening begins with, end the thread.
    return step == FlowStep::Check || step == FlowStep::Read ? Then::EndThread : Then::PostNothing;
}

ModuleResult TarnelConfWorker::RunStep(FlowStep step, const ModuleWrite& values) {
    switch (step) {
        case FlowStep::Check:
            m_polling = false;
            return m_flow.Check();
        case FlowStep::Read: {
            m_polling = false;
            // A read cut short by the closing leaves what was read before.
            ModuleReading reading = m_reading;
            const ModuleResult result = m_flow.Read(reading);
            if (result != ModuleResult::Closed) m_reading = reading;
            return result;
        }
        case FlowStep::Disconnect:
            return m_flow.Disconnect();
        case FlowStep::Apply:
            return m_flow.Apply(values, m_reading.devInfo);
        case FlowStep::FactoryReset:
            return m_flow.FactoryReset();
        case FlowStep::StartSearch: {
            const ModuleResult result = m_flow.StartSearch();
            m_polling = result == ModuleResult::Ok;
            return result;
        }
        case FlowStep::NextReport:
            return m_flow.NextReport(m_inqResult);
        case FlowStep::StopSearch:
            m_polling = false;
            return m_flow.StopSearch();
    }
    return ModuleResult::Failed;
}
