#pragma once

// Input as the system takes it from a mouse and a keyboard: SendInput at a
// point of the screen, so that Windows decides which window gets it.

#include "platform/win32/Win32.h"
// After the Windows headers: see platform/win32/Win32.h.

namespace tarnel::test {

// Moves the pointer to `target` (screen coordinates), then clicks the left
// button there.
void ClickAtScreen(POINT target);
// A key's press (`up` false) or release, by virtual key.
void SendKey(WORD key, bool up);
// A press and release of one UTF-16 unit that no key of the layout gives.
void SendUnit(wchar_t unit);

}  // namespace tarnel::test
