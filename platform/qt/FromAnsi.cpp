#include "platform/FromAnsi.h"

#include <QString>

#include "platform/qt/QtText.h"

namespace ui {

std::u16string FromAnsi(const std::string& text) {
    return FromQString(QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size())));
}

}  // namespace ui
