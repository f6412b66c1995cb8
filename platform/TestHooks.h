#pragma once

// Hooks for tests: answer message boxes and modal dialogs without a user,
// record what was shown, read the wait cursor. Hooks run on the window
// thread, also for a box requested by another thread. Window thread only.
// The program has the hook points (SetMessageBoxHook, SetModalHook); the
// recorders and the event pump are in the test-only tarnel_platform_test.

#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "res/WinDefs.h"

namespace ui {
class Dialog;
}

namespace ui::test {

struct MessageBoxCall {
    int stringId = 0;     // 0 when the box was given a text
    std::u16string text;  // the text shown (the loaded string for an id)
    UINT style = 0;
    bool fromWindowThread = true;
};

// While set, every message box goes to `hook` instead of the screen and
// returns what the hook returns. An empty function removes the hook.
void SetMessageBoxHook(std::function<int(const MessageBoxCall&)> hook);

// While set, every modal run calls `hook` with the dialog once its window is
// built, initialized and shown, before the modal loop starts. The hook may end
// the dialog (EndDialog, or a command such as SendMessage(WM_COMMAND, IDOK));
// otherwise the loop runs until something ends it.
void SetModalHook(std::function<void(Dialog&)> hook);

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

// Installs a modal hook for its lifetime that records each dialog's
// template id and then calls `action` with it (empty: the dialog is ended
// with IDCANCEL).
class ModalRecorder {
public:
    explicit ModalRecorder(std::function<void(Dialog&)> action = {});
    ~ModalRecorder();
    ModalRecorder(const ModalRecorder&) = delete;
    ModalRecorder& operator=(const ModalRecorder&) = delete;

    std::vector<int> TemplateIds() const { return m_ids; }

private:
    std::function<void(Dialog&)> m_action;
    std::vector<int> m_ids;
};

// The wait cursor counter (0: no wait cursor).
int WaitCursorCount();

// Runs the window thread's pending events (posted messages, timers, box
// requests) once; a pump for tests::WaitUntil.
void ProcessEvents();

}  // namespace ui::test
