#pragma once

#include <deque>
#include <functional>
#include <mutex>
#include <vector>

#include "platform/TestHooks.h"

namespace ui::test {

// Installs a message box hook for its lifetime: records every box and
// answers with the queued answers in order, then with the default answer.
class MessageBoxRecorder {
public:
    explicit MessageBoxRecorder(int defaultAnswer = IDOK);
    ~MessageBoxRecorder();
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    void QueueAnswer(int answer);
    // The next box with `stringId` stays up while `whileOpen` runs, as a box
    // a user leaves open while events go on (the function pumps them); then
    // it is answered as any other, unless the program has closed it.
    void Hold(int stringId, std::function<void()> whileOpen);
    std::vector<MessageBoxCall> Calls() const;
    size_t Count() const;

private:
    int Record(const MessageBoxCall& call);

    mutable std::mutex m_mutex;
    int m_default;
    std::deque<int> m_answers;
    std::vector<MessageBoxCall> m_calls;
    int m_heldId = 0;
    std::function<void()> m_whileHeld;
};

// The message boxes that are up now and have been neither answered nor
// closed by the program, held ones included.
int OpenMessageBoxCount();

}  // namespace ui::test
