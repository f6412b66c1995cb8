#include "ctl/UiLanguage.h"

#include <windows.h>

namespace tarnel::ctl {

bool KoreanUi() {
    return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_KOREAN;
}

}  // namespace tarnel::ctl
