#pragma once

// The Windows headers for the Win32 backend of the windowing layer. The
// layer's own names (ui::SendMessage, ui::GetProfileInt, ui::WM_COMMAND,
// ui::RGB, ui::DT_CENTER, ...) are the Windows names, which <windows.h>
// defines as macros; this header reads the layer's headers that declare them
// first and drops the function-name macros, so both can be used in one file.
// Files of this folder include it first, call the wide functions by their W
// names and use the constants unqualified.

#include "platform/Font.h"
#include "platform/Painter.h"
#include "platform/SysColor.h"
#include "platform/Window.h"
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
#undef DrawText
#undef AppendMenu
#undef GetMenuString
