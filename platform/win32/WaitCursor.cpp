#include "platform/win32/Win32.h"
// After the Windows headers: see Win32.h.
#include "platform/WaitCursor.h"

#include "platform/win32/WaitCursorState.h"

namespace ui {
namespace {

// The system's cursors by number: IDC_WAIT and IDC_ARROW name them in the
// narrow character set.
const wchar_t* const kWait = MAKEINTRESOURCEW(32514);
const wchar_t* const kArrow = MAKEINTRESOURCEW(32512);

}  // namespace

// The cursor follows the counter now; WM_SETCURSOR keeps it when the mouse
// moves.
void ApplyWaitCursor() {
    SetCursor(LoadCursorW(nullptr, IsWaitCursorOn() ? kWait : kArrow));
}

namespace win32 {

bool SetWaitCursorIfWaiting() {
    if (!IsWaitCursorOn()) return false;
    SetCursor(LoadCursorW(nullptr, kWait));
    return true;
}

}  // namespace win32
}  // namespace ui
