#pragma once

// The Windows headers for the Win32 backend of the windowing layer. The
// layer's own names (ui::SendMessage, ui::GetProfileInt, ui::WM_COMMAND, ...)
// are the Windows names, which <windows.h> defines as macros; this header
// reads the layer's constants first and drops the function-name macros, so
// both can be used in one file. Files of this folder include it first and
// call the wide functions by their W names.

#include "res/WinDefs.h"

// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <richedit.h>
// clang-format on

#undef GetProfileInt
#undef GetProfileString
#undef WriteProfileString
#undef LoadString
#undef MessageBox
#undef PostMessage
#undef SendMessage
#undef GetWindowText
#undef GetWindowTextLength
#undef SetWindowText
#undef GetDlgItemText
#undef SetDlgItemText
