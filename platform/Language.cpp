#include "platform/Language.h"

#include <optional>

#include "platform/LocaleUiLanguage.h"
#include "platform/Localized.h"
#include "res/WinDefs.h"

namespace ui {
namespace {

std::optional<Language> g_forced;

}  // namespace

Language GetUiLanguage() {
    return g_forced.value_or(LocaleUiLanguage());
}

void SetUiLanguage(Language language) {
    g_forced = language;
}

std::uint16_t GetUserDefaultUILanguage() {
    return GetUiLanguage() == Language::Korean ? LANG_KOREAN_ID : LANG_ENGLISH_US_ID;
}

std::u16string_view Localized(const res::Text& text) {
    if (GetUiLanguage() == Language::Korean && !text.ko.empty()) return text.ko;
    return text.en;
}

res::Rect Localized(const res::ControlTemplate& control) {
    if (GetUiLanguage() == Language::Korean && control.koRect) return *control.koRect;
    return control.rect;
}

}  // namespace ui
