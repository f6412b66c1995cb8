#pragma once

// Routes a Win32 window's messages to its MessageTarget: dialogs built from
// templates through their dialog procedure, controls through a subclass.
// Window thread only.

#include <cstdint>

#include "platform/win32/MessageTarget.h"

namespace ui::win32 {

// The target of `window`, or nullptr.
MessageTarget* TargetOf(HWND__* window);

// Sends the control's messages to `target` first; the class's own handling
// runs for what the target leaves. False when `window` has a target already.
bool AttachControl(HWND__* window, MessageTarget& target);

// Takes the window's messages from its target again (a control's subclass
// removed); nothing when it has none.
void DetachTarget(HWND__* window);

// The dialog procedure of the layer's dialogs: the creation parameter is the
// MessageTarget*; notifications of controls are offered to the control's
// target first (MessageTarget::OnReflect).
std::intptr_t __stdcall RoutingDialogProc(HWND__* window, UINT message, WPARAM wParam, LPARAM lParam);

// Offers a key-down to the targets from `focus` up to its top-level window;
// true when one of them swallowed it.
bool PreTranslateKey(HWND__* focus, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace ui::win32
