#include "platform/win32/Win32.h"
// After the Windows headers: see Win32.h.
#include "platform/IsSpace.h"

namespace ui {

bool IsSpace(char16_t unit) {
    WORD type = 0;
    const wchar_t text = static_cast<wchar_t>(unit);
    return GetStringTypeW(CT_CTYPE1, &text, 1, &type) != FALSE && (type & C1_SPACE) != 0;
}

}  // namespace ui
