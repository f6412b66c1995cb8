#pragma once

// Message box requests of other threads, waiting for the window thread.

#include <condition_variable>
#include <deque>
#include <mutex>

#include "app/platform/TestHooks.h"

namespace ui {

class BoxRequests {
public:
    static BoxRequests& Instance();

    // Another thread: hands the box to the window thread and blocks until it
    // has been answered; returns the answer.
    int Submit(const test::MessageBoxCall& call);
    // Window thread: shows every waiting box, in order of arrival.
    void ServePending();
    // Window thread: waits until a request arrives or `timeout` passes.
    void WaitForRequest(std::chrono::milliseconds timeout);

private:
    struct Request {
        test::MessageBoxCall call;
        int answer = 0;
        bool done = false;
    };

    std::mutex m_mutex;
    std::condition_variable m_arrived;
    std::condition_variable m_answered;
    std::deque<Request*> m_pending;
};

// Shows the box on the window thread (through the test hook when one is set).
int ShowMessageBox(const test::MessageBoxCall& call);

}  // namespace ui
