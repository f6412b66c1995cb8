#pragma once

// The program's hook points for tests: message boxes and modal dialogs
// answered without a user, the wait cursor read. Hooks run on the window
// thread, also for a box requested by another thread. Window thread only.
// The recorders that use them and the event pump are the tests' own
// (tests/support/).

#include <functional>
#include <string>

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

// The wait cursor counter (0: no wait cursor).
int WaitCursorCount();

}  // namespace ui::test
