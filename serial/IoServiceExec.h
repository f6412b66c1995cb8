#pragma once

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

namespace asio {
class io_context;
}

// Owns one io_context and the worker threads that run it. Every serial channel
// is built on the context of one executor, and all of the channel's completion
// handlers run on that executor's workers. Unless held (Hold), a worker
// returns as soon as the context has no outstanding work.
//
// Start and Stop are called on the window thread and are not synchronised
// against each other. Stop must never be called on one of the workers.
class IoServiceExec {
public:
    // Constructs the context; no thread runs.
    IoServiceExec();
    // Release() and Stop(), then releases the threads and the context.
    virtual ~IoServiceExec();

    IoServiceExec(const IoServiceExec&) = delete;
    IoServiceExec& operator=(const IoServiceExec&) = delete;

    // The context on which channels are constructed. Channels must not
    // outlive the executor.
    asio::io_context& IoContext();

    // Restarts the context and starts threadCount workers (one when 0). Does
    // nothing while workers of an earlier Start are still listed, even if they
    // have finished: only the first Start after a Stop creates threads.
    // A failure to create a thread propagates as std::system_error; the
    // threads created before it stay and run.
    void Start(unsigned threadCount);

    // Joins the workers (they leave once the context runs out of work, so
    // close every channel first), then stops the context. Every worker runs
    // the context at least once, so work queued when Stop follows Start at
    // once is still done. A second Stop in a row only stops the context if it
    // is not stopped.
    void Stop();

    // Keeps the workers running while the context has no work, from Hold
    // until Release (both idempotent): channels that close and open again
    // must find a worker serving them.
    void Hold();
    void Release();

private:
    struct WorkGuard;

    static void WorkerLoop(IoServiceExec* exec, asio::io_context* context);

    // Behind a pointer, so that asio's headers (and on Windows the system's)
    // stay out of the files that include this one.
    std::unique_ptr<asio::io_context> m_ioContext;
    std::unique_ptr<WorkGuard> m_workGuard;
    std::vector<std::unique_ptr<std::thread>> m_threads;
    std::atomic<bool> m_stop{false};
};

// The executor of the configurator's command engine, alive for the whole
// program.
extern IoServiceExec g_ioServiceExec;
