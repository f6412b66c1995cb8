#include "ctl/UiLanguage.h"

#include <cstdlib>
#include <string_view>

namespace tarnel::ctl {

bool KoreanUi() {
    for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') return std::string_view(value).starts_with("ko");
    }
    return false;
}

}  // namespace tarnel::ctl
