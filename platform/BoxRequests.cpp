#include "platform/BoxRequests.h"

#include <algorithm>

#include "platform/WindowThread.h"

namespace ui {

BoxRequests& BoxRequests::Instance() {
    static BoxRequests requests;
    return requests;
}

int BoxRequests::Submit(const test::MessageBoxCall& call) {
    // Shared: a request closed while shown is let go here before its box
    // returns on the window thread.
    auto request = std::make_shared<Request>(Request{call});
    std::unique_lock lock(m_mutex);
    m_pending.push_back(request);
    m_arrived.notify_all();
    // Served by the event loop unless a serving wait gets to it first.
    PostToWindowThread([] { Instance().ServePending(); });
    m_answered.wait(lock, [&request] { return request->done; });
    return request->answer;
}

void BoxRequests::ServePending() {
    std::unique_lock lock(m_mutex);
    while (!m_pending.empty()) {
        std::shared_ptr<Request> request = m_pending.front();
        m_pending.pop_front();
        m_shown.push_back(request);
        lock.unlock();
        const int answer = ShowMessageBox(request->call);
        lock.lock();
        std::erase(m_shown, request);
        if (!request->done) Answer(*request, answer);
    }
}

void BoxRequests::WaitForRequest(std::chrono::milliseconds timeout) {
    std::unique_lock lock(m_mutex);
    m_arrived.wait_for(lock, timeout, [this] { return !m_pending.empty(); });
}

void BoxRequests::CloseAll() {
    std::lock_guard lock(m_mutex);
    for (const auto& request : m_pending)
        Answer(*request, DismissedAnswer(request->call.style));
    m_pending.clear();
    for (const auto& request : m_shown) {
        if (!request->done) Answer(*request, DismissedAnswer(request->call.style));
    }
}

void BoxRequests::Answer(Request& request, int answer) {
    request.answer = answer;
    request.done = true;
    m_answered.notify_all();
}

}  // namespace ui
