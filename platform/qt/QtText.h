#pragma once

// UTF-16 text at the Qt edge: the windowed code works in std::u16string.

#include <QString>
#include <string>
#include <string_view>

namespace ui {

inline QString ToQString(std::u16string_view text) {
    return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

inline std::u16string FromQString(const QString& text) {
    return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(text.size()));
}

}  // namespace ui
