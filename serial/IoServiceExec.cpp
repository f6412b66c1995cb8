#include "serial/IoServiceExec.h"

#include <asio/executor_work_guard.hpp>
#include <asio/io_context.hpp>

#include <exception>

#include "serial/WorkerSignals.h"

IoServiceExec g_ioServiceExec;

struct IoServiceExec::WorkGuard {
    explicit WorkGuard(asio::io_context& context) : guard(asio::make_work_guard(context)) {}
    asio::executor_work_guard<asio::io_context::executor_type> guard;
};

IoServiceExec::IoServiceExec() : m_ioContext(std::make_unique<asio::io_context>()) {}

IoServiceExec::~IoServiceExec() {
    Release();
    Stop();
}

asio::io_context& IoServiceExec::IoContext() {
    return *m_ioContext;
}

void IoServiceExec::Start(unsigned threadCount) {
    if (!m_threads.empty()) return;
    m_stop = false;
    m_ioContext->restart();
    const unsigned n = threadCount == 0 ? 1 : threadCount;
    for (unsigned i = 0; i < n; ++i)
        m_threads.push_back(
            std::make_unique<std::thread>(&IoServiceExec::WorkerLoop, this, m_ioContext.get()));
}

void IoServiceExec::Stop() {
    if (!m_stop) {
        m_stop = true;
        for (auto& thread : m_threads)
            thread->join();
        m_threads.clear();
    }
    if (!m_ioContext->stopped()) m_ioContext->stop();
}

void IoServiceExec::Hold() {
    if (!m_workGuard) m_workGuard = std::make_unique<WorkGuard>(*m_ioContext);
}

void IoServiceExec::Release() {
    m_workGuard.reset();
}

void IoServiceExec::WorkerLoop(IoServiceExec* exec, asio::io_context* context) {
    // A handler that throws ends this worker only; the others go on, and none
    // is restarted before the next Stop and Start.
    // The context is run once before the flag is looked at: a worker that
    // starts only after a quick Stop must still drain what is queued, or the
    // stale completions would run after the next Start.
    KeepProcessSignalsFromThisThread();
    try {
        do {
            context->run();
        } while (!context->stopped() && !exec->m_stop);
    } catch (const std::exception&) {
    }
}
