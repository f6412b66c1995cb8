#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

namespace tarnel::test {

// Ends the test program, naming `what`, unless it is destroyed within
// `deadline`: a test whose window thread would wait for good fails instead
// of stopping the run.
class HangGuard {
public:
    HangGuard(std::chrono::milliseconds deadline, std::string what);
    ~HangGuard();
    HangGuard(const HangGuard&) = delete;
    HangGuard& operator=(const HangGuard&) = delete;

private:
    std::mutex m_mutex;
    std::condition_variable m_cond;
    bool m_disarmed = false;
    std::thread m_thread;
};

}  // namespace tarnel::test
