#include "platform/win32/Win32.h"
// After the Windows headers: see Win32.h.
#include "platform/Language.h"

#include <optional>

namespace ui {
namespace {

std::optional<Language> g_forced;

Language FromUserSettings() {
    return PRIMARYLANGID(::GetUserDefaultUILanguage()) == LANG_KOREAN ? Language::Korean : Language::English;
}

}  // namespace

Language GetUiLanguage() {
    return g_forced.value_or(FromUserSettings());
}

void SetUiLanguage(Language language) {
    g_forced = language;
}

void ResetUiLanguage() {
    g_forced.reset();
}

std::uint16_t GetUserDefaultUILanguage() {
    return GetUiLanguage() == Language::Korean ? LANG_KOREAN_ID : LANG_ENGLISH_US_ID;
}

}  // namespace ui
