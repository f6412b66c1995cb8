// The wait cursor of Window: one counter for the whole program.

#include "platform/win32/Win32.h"
// After the Windows headers: see Win32.h.
#include <algorithm>
#include <mutex>

#include "platform/TestHooks.h"
#include "platform/WindowThread.h"
#include "platform/win32/WaitCursorState.h"

namespace ui {
namespace {

// The system's cursors by number: IDC_WAIT and IDC_ARROW name them in the
// narrow character set.
const wchar_t* const kWait = MAKEINTRESOURCEW(32514);
const wchar_t* const kArrow = MAKEINTRESOURCEW(32512);

std::mutex g_mutex;
int g_count = 0;

bool Waiting() {
    std::lock_guard lock(g_mutex);
    return g_count > 0;
}

// Window thread: the cursor follows the counter now; WM_SETCURSOR keeps it
// when the mouse moves.
void Apply() {
    SetCursor(LoadCursorW(nullptr, Waiting() ? kWait : kArrow));
}

void ApplySoon() {
    if (IsWindowThread())
        Apply();
    else
        PostToWindowThread(&Apply);
}

void Change(int delta) {
    {
        std::lock_guard lock(g_mutex);
        g_count = std::max(0, g_count + delta);
    }
    ApplySoon();
}

}  // namespace

void Window::BeginWaitCursor() {
    Change(+1);
}

void Window::EndWaitCursor() {
    Change(-1);
}

void Window::RestoreWaitCursor() {
    ApplySoon();
}

int test::WaitCursorCount() {
    std::lock_guard lock(g_mutex);
    return g_count;
}

namespace win32 {

bool SetWaitCursorIfWaiting() {
    if (!Waiting()) return false;
    SetCursor(LoadCursorW(nullptr, kWait));
    return true;
}

}  // namespace win32
}  // namespace ui
