#include "platform/Font.h"

#include <QFontMetrics>

#include "platform/qt/QtFont.h"
#include "platform/qt/QtText.h"

namespace ui {

Font::Font() : m_impl(std::make_shared<const Impl>(Impl{QFont()})) {}

int Font::GetWeight() const {
    return m_impl->font.weight();
}

void Font::SetWeight(int weight) {
    QFont font = m_impl->font;
    font.setWeight(static_cast<QFont::Weight>(weight));
    m_impl = std::make_shared<const Impl>(Impl{font});
}

bool Font::IsBold() const {
    return m_impl->font.bold();
}

SIZE Font::GetTextExtent(std::u16string_view text) const {
    const QFontMetrics metrics(m_impl->font);
    return {metrics.horizontalAdvance(ToQString(text)), metrics.height()};
}

bool operator==(const Font& a, const Font& b) {
    return a.m_impl->font == b.m_impl->font;
}

}  // namespace ui
