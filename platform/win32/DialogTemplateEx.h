#pragma once

// A dialog template of res/ as the extended template that
// CreateDialogIndirectParamW and DialogBoxIndirectParamW take: the caption,
// the control texts and the rectangles of the given language, the dialog
// units and the font as the template has them. The template names no menu;
// the caller attaches the menu it builds from res/.

#include <cstdint>
#include <vector>

#include "platform/Language.h"
#include "res/ResourceTypes.h"

namespace ui::win32 {

// The template's 16-bit words. The storage starts on a 4-byte boundary, as
// the system requires; every control entry lies on one within it.
std::vector<std::uint16_t> BuildDialogTemplateEx(const res::DialogTemplate& dialog, Language language);

}  // namespace ui::win32
