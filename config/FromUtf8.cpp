#include "config/FromUtf8.h"

#include <QString>

std::u16string FromUtf8(std::string_view bytes) {
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size())).toStdU16String();
}
