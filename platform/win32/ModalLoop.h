#pragma once

// The modal run of a dialog window: the owner is disabled, the dialog shown,
// and the thread's messages are pumped (keys through the PreTranslate chain
// and the dialog manager's keyboard handling) until End. Runs nest: a run
// ended while an inner one is active returns once the inner one has
// returned. Window thread only.

struct HWND__;

namespace ui::win32 {

class ModalLoop {
public:
    // Returns the value given to End; -1 when the thread's message loop was
    // told to quit (WM_QUIT is passed on to the outer loop).
    int Run(HWND__* dialog, HWND__* owner);
    // The loop returns once the handler running now has returned.
    void End(int result);

private:
    HWND__* m_dialog = nullptr;
    bool m_running = false;
    bool m_ended = false;
    int m_result = -1;
};

// Runs the thread's pending messages as the modal loop does (tests pump
// with it); false when WM_QUIT was among them.
bool PumpPending();

}  // namespace ui::win32
