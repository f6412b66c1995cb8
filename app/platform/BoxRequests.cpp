#include "app/platform/BoxRequests.h"

#include <QCoreApplication>
#include <QMetaObject>

namespace ui {

BoxRequests& BoxRequests::Instance() {
    static BoxRequests requests;
    return requests;
}

int BoxRequests::Submit(const test::MessageBoxCall& call) {
    Request request{call};
    std::unique_lock lock(m_mutex);
    m_pending.push_back(&request);
    m_arrived.notify_all();
    // Served by the event loop unless a serving wait gets to it first.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [] { Instance().ServePending(); }, Qt::QueuedConnection);
    m_answered.wait(lock, [&request] { return request.done; });
    return request.answer;
}

void BoxRequests::ServePending() {
    std::unique_lock lock(m_mutex);
    while (!m_pending.empty()) {
        Request* request = m_pending.front();
        m_pending.pop_front();
        lock.unlock();
        const int answer = ShowMessageBox(request->call);
        lock.lock();
        request->answer = answer;
        request->done = true;
        m_answered.notify_all();
    }
}

void BoxRequests::WaitForRequest(std::chrono::milliseconds timeout) {
    std::unique_lock lock(m_mutex);
    m_arrived.wait_for(lock, timeout, [this] { return !m_pending.empty(); });
}

}  // namespace ui
