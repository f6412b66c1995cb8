#pragma once

// What a person does and sees at a Win32 window, for the window tests: a
// click at a control's centre on the screen (the system decides which window
// takes it), a key press, the text a window shows.

#include "platform/win32/Win32.h"
// After the Windows headers: see platform/win32/Win32.h.
#include <string>

namespace tarnel::test {

void ClickAt(HWND control);
void PressKey(WORD key);
std::u16string TextOf(HWND window);

}  // namespace tarnel::test
