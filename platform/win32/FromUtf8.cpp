#include "platform/win32/Win32.h"
// After the Windows headers: see Win32.h.
#include "platform/FromUtf8.h"

#include "platform/win32/TextCodePage.h"

namespace ui {

std::u16string FromUtf8(std::string_view bytes) {
    return win32::DecodeCodePage(CP_UTF8, bytes);
}

}  // namespace ui
