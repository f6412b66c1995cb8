#pragma once

// A dialog window from a template of res/, its messages routed to a target.

#include "platform/Language.h"
#include "platform/win32/MessageTarget.h"
#include "res/ResourceTypes.h"

namespace ui::win32 {

// A child dialog of `parent` when the template says WS_CHILD, else a
// top-level one owned by `parent` (nullptr: none) with the template's menu
// bar, its client area the template's size. The target gets WM_INITDIALOG
// and every message after it. Returns nullptr when the window could not be
// made.
HWND__* CreateTemplateDialog(const res::DialogTemplate& dialog, Language language, HWND__* parent,
                             MessageTarget& target);

}  // namespace ui::win32
