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

    // A message the control's class handles itself before the message map
    // (for example input-method composition in the rich edit control).
    static void AddMessage(Window& window, UINT message, std::function<LRESULT(WPARAM, LPARAM)> fn) {
        window.AddMessage(message, std::move(fn));
    }
    static bool CanAttach(const Window& window, const res::ControlTemplate& control) {
        return window.CanAttachTo(control);
    }
    static void CallPreSubclass(Window& window) { window.PreSubclassWindow(); }
    static bool IsTopLevel(const Window& window) { return window.m_state->parent == nullptr; }
};

// The Win32 window of a window (nullptr while it does not exist). Window
// thread only.
inline HWND__* HwndOf(const Window& window) {
    return WindowAccess::StateOf(window).hwnd;
}

}  // namespace ui
