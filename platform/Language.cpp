#include "platform/Language.h"

#include <QLocale>
#include <QStringList>
#include <optional>

#include "platform/qt/Localized.h"
#include "platform/qt/QtText.h"
#include "res/WinDefs.h"

namespace ui {
namespace {

std::optional<Language> g_forced;

Language FromLocale() {
    const QStringList languages = QLocale::system().uiLanguages();
    if (!languages.isEmpty() && languages.front().startsWith(QLatin1String("ko"), Qt::CaseInsensitive))
        return Language::Korean;
    return Language::English;
}

}  // namespace

Language GetUiLanguage() {
    return g_forced.value_or(FromLocale());
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

QString Localized(const res::Text& text) {
    if (GetUiLanguage() == Language::Korean && !text.ko.empty()) return ToQString(text.ko);
    return ToQString(text.en);
}

res::Rect Localized(const res::ControlTemplate& control) {
    if (GetUiLanguage() == Language::Korean && control.koRect) return *control.koRect;
    return control.rect;
}

}  // namespace ui
