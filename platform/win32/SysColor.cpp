#include "platform/win32/Win32.h"
// After the Windows headers: see Win32.h.
#include "platform/SysColor.h"

namespace ui {

COLORREF GetSysColor(int index) {
    switch (index) {
        case COLOR_BTNFACE:
        case COLOR_BTNSHADOW:
        case COLOR_GRAYTEXT:
        case COLOR_BTNTEXT:
        case COLOR_BTNHIGHLIGHT:
            return ::GetSysColor(index);
        default:
            return 0;
    }
}

}  // namespace ui
