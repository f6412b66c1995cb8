#include "platform/FromUtf8.h"

#include <QString>

namespace ui {

std::u16string FromUtf8(std::string_view bytes) {
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size())).toStdU16String();
}

}  // namespace ui
