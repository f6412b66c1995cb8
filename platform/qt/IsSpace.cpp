#include "platform/IsSpace.h"

#include <QChar>

namespace ui {

bool IsSpace(char16_t unit) {
    return QChar::isSpace(unit);
}

}  // namespace ui
