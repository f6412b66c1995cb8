#include "platform/win32/Win32.h"
// After the Windows headers: see Win32.h.
#include "platform/FromAnsi.h"

#include "platform/win32/TextCodePage.h"

namespace ui {

std::u16string FromAnsi(const std::string& text) {
    return win32::DecodeCodePage(CP_ACP, text);
}

}  // namespace ui
