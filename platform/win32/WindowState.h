#pragma once

// The state behind ui::Window on Win32, shared by the backend's sources.

#include <memory>
#include <mutex>
#include <set>

#include "platform/WindowCore.h"
#include "platform/win32/MessageTarget.h"

struct HICON__;

namespace ui {

struct Window::State : WindowCore {
    // Guards `hwnd`, which other threads read to post and to ask IsWindow.
    mutable std::mutex hwndMutex;
    HWND__* hwnd = nullptr;
    // Destroyed with the window (dialogs, blank windows), not a dialog's
    // control, which its dialog destroys.
    bool ownsHwnd = false;

    // Routes the window's messages to the Window object (WindowRouting.h).
    std::unique_ptr<win32::MessageTarget> target;

    // The timers SetTimer started: a control's class keeps its own.
    std::set<UINT> timers;
    // The control keeps the font's handle, not the font.
    std::unique_ptr<Font> font;
    HICON__* icon = nullptr;
};

}  // namespace ui
