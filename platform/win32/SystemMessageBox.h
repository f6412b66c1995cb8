#pragma once

// The system's message box for the layer: caption "Tarnel Manager", the icon
// and buttons of the style bits, the button texts in the UI language (the
// system would take its own language for them).

#include <string_view>

#include "platform/Language.h"
#include "platform/OpenBox.h"
#include "res/WinDefs.h"

struct HWND__;

namespace ui::win32 {

// Modal to `owner` (nullptr: no owner). Registers itself with `open`, whose
// CloseAll takes the box down as dismissed (IDCANCEL for MB_OKCANCEL, IDOK
// otherwise). Returns IDOK or IDCANCEL.
int SystemMessageBox(HWND__* owner, std::u16string_view text, UINT style, Language language, OpenBox& open);

}  // namespace ui::win32
