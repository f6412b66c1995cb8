#include "platform/LocaleUiLanguage.h"

#include <QLocale>
#include <QStringList>

namespace ui {

Language LocaleUiLanguage() {
    const QStringList languages = QLocale::system().uiLanguages();
    if (!languages.isEmpty() && languages.front().startsWith(QLatin1String("ko"), Qt::CaseInsensitive))
        return Language::Korean;
    return Language::English;
}

}  // namespace ui
