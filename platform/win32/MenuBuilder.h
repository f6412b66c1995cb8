#pragma once

// A menu bar of res/ as a Win32 menu, in the given language.

#include "platform/Language.h"
#include "res/ResourceTypes.h"

struct HMENU__;

namespace ui::win32 {

// The caller owns the menu (a window it is set on destroys it with itself).
HMENU__* BuildMenu(const res::MenuTemplate& menu, Language language);

}  // namespace ui::win32
