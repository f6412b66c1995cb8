#include "serial/IoServiceExec.h"

#include <gtest/gtest.h>

#include <asio/io_context.hpp>
#include <asio/post.hpp>
#ifndef _WIN32
#include <signal.h>
#endif

#include <algorithm>
#include <atomic>
#include <stdexcept>
#include <thread>

#include "tests/support/WaitUntil.h"

using namespace std::chrono_literals;
using tarnel::test::WaitUntil;

namespace {

constexpr auto kDeadline = 10s;

// Tasks that wait for each other: with n workers, n of them run at once. Each
// lingers briefly after meeting the others, so that a surplus worker would
// pick up the next task meanwhile and show as a higher peak.
class ConcurrencyProbe {
public:
    explicit ConcurrencyProbe(unsigned expected) : m_expected(expected) {}

    void Post(asio::io_context& context, unsigned count) {
        for (unsigned i = 0; i < count; ++i)
            asio::post(context, [this] { Run(); });
        m_posted += count;
    }
    bool AllDone() const { return m_done == m_posted; }
    unsigned Peak() const { return m_peak; }

private:
    void Run() {
        const unsigned now = ++m_running;
        unsigned peak = m_peak;
        while (now > peak && !m_peak.compare_exchange_weak(peak, now)) {
        }
        ++m_arrived;
        WaitUntil([this] { return m_arrived >= m_expected; }, 3s);
        std::this_thread::sleep_for(30ms);
        --m_running;
        ++m_done;
    }

    const unsigned m_expected;
    unsigned m_posted = 0;
    std::atomic<unsigned> m_running{0};
    std::atomic<unsigned> m_peak{0};
    std::atomic<unsigned> m_arrived{0};
    std::atomic<unsigned> m_done{0};
};

struct WorkerCountCase {
    unsigned asked;
    unsigned expected;
};

class WorkerCount : public ::testing::TestWithParam<WorkerCountCase> {};

TEST_P(WorkerCount, StartRunsTheAskedNumberOfWorkersAtLeastOne) {
    IoServiceExec exec;
    ConcurrencyProbe probe(GetParam().expected);
    probe.Post(exec.IoContext(), GetParam().expected + 1);
    exec.Start(GetParam().asked);
    ASSERT_TRUE(WaitUntil([&] { return probe.AllDone(); }, kDeadline));
    EXPECT_EQ(probe.Peak(), GetParam().expected);
    exec.Stop();
}

INSTANTIATE_TEST_SUITE_P(Counts, WorkerCount,
                         ::testing::Values(WorkerCountCase{0, 1}, WorkerCountCase{1, 1},
                                           WorkerCountCase{2, 2}, WorkerCountCase{3, 3}));

TEST(IoServiceExec, StartWhileRunningAddsNoWorkers) {
    IoServiceExec exec;
    ConcurrencyProbe probe(1);
    probe.Post(exec.IoContext(), 3);
    exec.Start(1);
    exec.Start(2);
    ASSERT_TRUE(WaitUntil([&] { return probe.AllDone(); }, kDeadline));
    EXPECT_EQ(probe.Peak(), 1u);
    exec.Stop();
}

// A worker that ran out of work stays listed until Stop, so Start in between
// adds none and what is posted meanwhile waits for the next Start.
TEST(IoServiceExec, FinishedWorkersBlockStartUntilStop) {
    IoServiceExec exec;
    exec.Start(2);
    ASSERT_TRUE(WaitUntil([&] { return exec.IoContext().stopped(); }, kDeadline));

    std::atomic<bool> ran{false};
    asio::post(exec.IoContext(), [&] { ran = true; });
    exec.Start(1);
    EXPECT_FALSE(WaitUntil([&] { return ran.load(); }, 200ms));

    exec.Stop();
    exec.Stop();
    exec.Start(1);
    EXPECT_TRUE(WaitUntil([&] { return ran.load(); }, kDeadline));
    exec.Stop();
}

TEST(IoServiceExec, StopLetsQueuedWorkFinishBeforeStoppingTheContext) {
    IoServiceExec exec;
    std::atomic<int> done{0};
    asio::post(exec.IoContext(), [&] {
        std::this_thread::sleep_for(50ms);
        ++done;
    });
    asio::post(exec.IoContext(), [&] { ++done; });
    exec.Start(1);
    exec.Stop();
    EXPECT_EQ(done, 2);
    EXPECT_TRUE(exec.IoContext().stopped());
}

// With one worker the throw ends it and the next task waits for a restart;
// with two the other worker goes on.
TEST(IoServiceExec, ThrowingHandlerEndsOnlyItsWorker) {
    for (unsigned workers : {1u, 2u}) {
        IoServiceExec exec;
        std::atomic<bool> ran{false};
        asio::post(exec.IoContext(), [] { throw std::runtime_error("handler failed"); });
        asio::post(exec.IoContext(), [&] { ran = true; });
        exec.Start(workers);
        EXPECT_EQ(WaitUntil([&] { return ran.load(); }, workers == 1 ? 200ms : kDeadline), workers == 2);
        exec.Stop();
        exec.Start(1);
        EXPECT_TRUE(WaitUntil([&] { return ran.load(); }, kDeadline));
        exec.Stop();
    }
}

#ifndef _WIN32
// A Ctrl+C must reach the thread that waits for it, never a worker.
TEST(IoServiceExec, WorkersLeaveInterruptAndTerminationToOtherThreads) {
    IoServiceExec exec;
    std::atomic<bool> checked{false};
    sigset_t mask;
    sigemptyset(&mask);
    asio::post(exec.IoContext(), [&] {
        pthread_sigmask(SIG_BLOCK, nullptr, &mask);
        checked = true;
    });
    exec.Start(1);
    ASSERT_TRUE(WaitUntil([&] { return checked.load(); }, kDeadline));
    exec.Stop();
    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
        EXPECT_EQ(sigismember(&mask, signal), 1) << signal;
}
#endif

}  // namespace
