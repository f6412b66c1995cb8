#pragma once

// Message box requests of other threads, waiting for the window thread.

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/TestHooks.h"

namespace ui {

class BoxRequests {
public:
    static BoxRequests& Instance();

    // Another thread: hands the box to the window thread and blocks until it
    // has been answered or closed; returns the answer.
    int Submit(const test::MessageBoxCall& call);
    // Window thread: shows every waiting box, in order of arrival.
    void ServePending();
    // Window thread: waits until a request arrives or `timeout` passes.
    void WaitForRequest(std::chrono::milliseconds timeout);
    // Whether a box of another thread is up and unanswered: on the window
    // thread, its loop lies below whatever runs now.
    bool AnyShown();
    // Window thread: answers every request, waiting or shown, as dismissed;
    // the threads that asked go on at once.
    void CloseAll();

private:
    struct Request {
        test::MessageBoxCall call;
        int answer = 0;
        bool done = false;
    };

    void Answer(Request& request, int answer);

    std::mutex m_mutex;
    std::condition_variable m_arrived;
    std::condition_variable m_answered;
    std::deque<std::shared_ptr<Request>> m_pending;
    std::vector<std::shared_ptr<Request>> m_shown;
};

// Shows the box on the window thread (through the test hook when one is set).
int ShowMessageBox(const test::MessageBoxCall& call);
// The answer of a box closed without a choice.
int DismissedAnswer(UINT style);

}  // namespace ui
