#pragma once

// The configurator page's worker thread: it owns the job queue and the
// module, runs one job (JobCodes.h) at a time as a step of the
// configurator's flow and posts each job's result to the page
// (WM_JOB_RESULT, JobResult.h). The page talks to it only by queueing jobs
// and receiving their results.
//
// Threads: Start, Stop and Enqueue on the window thread; everything else on
// the worker's own. The worker holds m_jobMutex while it runs a job, message
// boxes it shows included; the window thread takes that lock only through
// ui::LockServing.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>

#include "config/WaitCursorHold.h"
#include "module/ConfiguratorFlow.h"
#include "module/ModuleReading.h"
#include "module/ModuleWrite.h"
#include "platform/Window.h"
#include "protocol/PayloadRecords.h"

class TarnelComm;

class TarnelConfWorker {
public:
    // Results go to `page`; a job the user waits for begins `waitCursor`,
    // which the page ends when the result comes.
    TarnelConfWorker(TarnelComm& comm, const ui::Window& page, WaitCursorHold& waitCursor);
    ~TarnelConfWorker();
    TarnelConfWorker(const TarnelConfWorker&) = delete;
    TarnelConfWorker& operator=(const TarnelConfWorker&) = delete;

    // Starts the thread for the port's `opening` (which its results carry)
    // with an empty queue.
    void Start(uint16_t opening);
    // Ends and joins the thread; a job waiting on a closed engine ends at
    // once. Nothing when it does not run.
    void Stop();
    // Appends `job` to the queue (after emptying it when `clearFirst`);
    // waits while the worker runs a job.
    void Enqueue(int32_t job, bool clearFirst = false);
    // Queues JOB_APPLY, which writes `values`.
    void Enqueue(const ModuleWrite& values);

    // What the last JOB_READ_SETTINGS read (as far as it got; the rest keeps
    // what was read before), and the report of the last JOB_NEXT_RESULT. For
    // the window thread only once that job's result has come: no job writes
    // them again before the page queues the next read or poll.
    const ModuleReading& Reading() const { return m_reading; }
    const InquiryResult& Report() const { return m_inqResult; }

private:
    struct Job {
        int32_t code = 0;
        ModuleWrite values;  // JOB_APPLY's
    };
    // What the loop does after a job.
    enum class Then { Post, PostNothing, EndThread };

    void Push(Job job, bool clearFirst);
    void WorkerLoop(uint16_t opening);
    Then RunJob(const Job& job, ModuleResult& result);
    ModuleResult RunStep(FlowStep step, const ModuleWrite& values);

    ConfiguratorFlow m_flow;
    const ui::Window& m_page;
    WaitCursorHold& m_waitCursor;
    std::mutex m_jobMutex;
    std::condition_variable m_jobCond;
    std::deque<Job> m_jobs;
    std::thread m_thread;
    std::atomic<bool> m_stopWorker{false};
    // Worker thread only.
    ModuleReading m_reading;
    InquiryResult m_inqResult{};
    // An inquiry runs: polls and its cancel go to the module. A check, a
    // read or the cancel ends it, so that a poll still queued behind them
    // cannot take the OK after the model name for the end of the inquiry.
    bool m_polling = false;
};
