#pragma once

// The program's wait cursor as the windows' WM_SETCURSOR asks for it.

namespace ui::win32 {

// Window thread: true when the wait cursor is on; it is then set.
bool SetWaitCursorIfWaiting();

}  // namespace ui::win32
