#include "protocol/CommandGate.h"

CommandGate::Entry CommandGate::Enter(std::chrono::milliseconds holdLimit) {
    std::unique_lock lock(m_mutex);
    while (m_held && !m_closing) {
        if (m_cond.wait_until(lock, m_heldUntil) == std::cv_status::timeout && m_held &&
            Clock::now() >= m_heldUntil) {
            return Entry::TimedOut;
        }
    }
    if (m_closing) return Entry::Closing;
    m_held = true;
    m_heldUntil = Clock::now() + holdLimit + GRACE;
    return Entry::Entered;
}

void CommandGate::Leave() {
    {
        std::lock_guard lock(m_mutex);
        m_held = false;
    }
    m_cond.notify_all();
}

void CommandGate::AwaitFree() {
    std::unique_lock lock(m_mutex);
    m_cond.wait(lock, [this] { return !m_held; });
}

void CommandGate::WakeAll() {
    { std::lock_guard lock(m_mutex); }
    m_cond.notify_all();
}
