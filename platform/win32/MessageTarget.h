#pragma once

// The C++ side of a Win32 window: the object that the window's messages are
// routed to (WindowRouting.h attaches it).

#include "res/WinDefs.h"

struct HWND__;

namespace ui::win32 {

class MessageTarget {
public:
    virtual ~MessageTarget() = default;

    // A message for the window before its default handling. True: handled,
    // with `result` as the message's result; false: the default handling
    // runs (the dialog manager's, or the control class's).
    virtual bool OnMessage(HWND__* window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) = 0;
    // A notification this control sends its parent (the high word of
    // WM_COMMAND's wParam), offered to the control first. True keeps it from
    // the parent.
    virtual bool OnReflect(UINT /*code*/) { return false; }
    // A key-down on its way to the window with the focus, offered to that
    // window's target and then to its parents' up to the top-level window.
    // True swallows the key.
    virtual bool PreTranslate(HWND__* /*window*/, UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/) {
        return false;
    }
    // The window is gone; no message reaches the target after this.
    virtual void OnDetached() {}
};

}  // namespace ui::win32
