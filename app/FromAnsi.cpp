#include "app/FromAnsi.h"

#include <QString>

#include "platform/qt/QtText.h"

std::u16string FromAnsi(const std::string& text) {
    return ui::FromQString(QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size())));
}
