#include "platform/win32/Win32.h"
// After the Windows headers: see Win32.h.
#include "platform/LocaleUiLanguage.h"

namespace ui {

Language LocaleUiLanguage() {
    return PRIMARYLANGID(::GetUserDefaultUILanguage()) == LANG_KOREAN ? Language::Korean : Language::English;
}

}  // namespace ui
