#include "tests/support/MessageBoxRecorder.h"

#include <utility>

#include "platform/OpenBox.h"

namespace ui::test {

MessageBoxRecorder::MessageBoxRecorder(int defaultAnswer) : m_default(defaultAnswer) {
    SetMessageBoxHook([this](const MessageBoxCall& call) { return Record(call); });
}

int MessageBoxRecorder::Record(const MessageBoxCall& call) {
    std::function<void()> whileOpen;
    {
        std::lock_guard lock(m_mutex);
        m_calls.push_back(call);
        if (m_whileHeld && call.stringId == m_heldId) whileOpen = std::exchange(m_whileHeld, {});
    }
    // Unlocked: boxes shown while this one is up come back here.
    if (whileOpen) whileOpen();
    std::lock_guard lock(m_mutex);
    if (m_answers.empty()) return m_default;
    const int answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

void MessageBoxRecorder::Hold(int stringId, std::function<void()> whileOpen) {
    std::lock_guard lock(m_mutex);
    m_heldId = stringId;
    m_whileHeld = std::move(whileOpen);
}

MessageBoxRecorder::~MessageBoxRecorder() {
    SetMessageBoxHook({});
}

void MessageBoxRecorder::QueueAnswer(int answer) {
    std::lock_guard lock(m_mutex);
    m_answers.push_back(answer);
}

std::vector<MessageBoxCall> MessageBoxRecorder::Calls() const {
    std::lock_guard lock(m_mutex);
    return m_calls;
}

size_t MessageBoxRecorder::Count() const {
    std::lock_guard lock(m_mutex);
    return m_calls.size();
}

int OpenMessageBoxCount() {
    return OpenBox::Count();
}

}  // namespace ui::test
