#pragma once

// The backend's own operations on windows: the Win32 window behind one, the
// window of a Win32 window, and messages a control class handles itself.

#include <functional>

#include "platform/Window.h"
#include "platform/win32/WindowState.h"

namespace ui {

class WindowAccess {
public:
    static Window::State& StateOf(const Window& window) { return *window.m_state; }

    // The window that stands for exactly this Win32 window, or nullptr.
    static Window* FromHwnd(HWND__* hwnd);
    // The window of `hwnd` or of its nearest ancestor that has one.
    static Window* FindWindowFor(HWND__* hwnd);

    // Makes `window` stand for `hwnd` (destroyed with the window when
    // `owns`) as a child of `parent` (nullptr: top-level). The caller routes
    // the messages.
    static void Attach(Window& window, HWND__* hwnd, int id, Window* parent, bool owns);
    // Attach, and the Win32 window's messages go to `window` first.
    static void AttachRouted(Window& window, HWND__* hwnd, int id, Window* parent, bool owns);
    // The routing of `window`'s messages, to be given to the system before
    // its Win32 window exists (dialogs); `onInit` runs at WM_INITDIALOG.
    static win32::MessageTarget& MakeTarget(Window& window, std::function<void(HWND__*)> onInit);

    // A message the control's class handles itself before the message map
    // (for example input-method composition in the rich edit control).
    static void AddMessage(Window& window, UINT message, std::function<LRESULT(WPARAM, LPARAM)> fn) {
        window.AddMessage(message, std::move(fn));
    }
    static bool PreTranslate(Window& window, const MSG& msg) { return window.PreTranslateMessage(msg); }
};

// The Win32 window of a window (nullptr while it does not exist). Window
// thread only.
inline HWND__* HwndOf(const Window& window) {
    return WindowAccess::StateOf(window).hwnd;
}

}  // namespace ui
