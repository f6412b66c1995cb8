#include "platform/qt/StatusPane.h"

#include <QFontMetrics>
#include <algorithm>

namespace ui {
namespace {

constexpr int kPadding = 2;

}  // namespace

StatusPane::StatusPane(QWidget* parent) : QLabel(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    // A framed label indents its text by half an "x" unless told otherwise,
    // which the widths measured here would not know about.
    setIndent(0);
    setMargin(kPadding);
}

void StatusPane::SetFullText(const QString& text, qsizetype first, qsizetype count) {
    m_text = text;
    m_first = std::clamp<qsizetype>(first, 0, text.size());
    m_count = std::clamp<qsizetype>(count, 0, text.size() - m_first);
    Fit();
}

int StatusPane::WidthFor(const QString& text) const {
    const QMargins margins = contentsMargins();
    return fontMetrics().horizontalAdvance(text) + margins.left() + margins.right() + 2 * margin();
}

void StatusPane::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    Fit();
}

void StatusPane::Fit() {
    const QFontMetrics metrics = fontMetrics();
    const int room = contentsRect().width() - 2 * margin();
    if (m_count == 0 || metrics.horizontalAdvance(m_text) <= room) {
        setText(m_text);
        setToolTip(QString());
        return;
    }
    const QString before = m_text.left(m_first);
    const QString after = m_text.mid(m_first + m_count);
    const int partRoom = std::max(0, room - metrics.horizontalAdvance(before + after));
    setText(before + metrics.elidedText(m_text.mid(m_first, m_count), Qt::ElideMiddle, partRoom) + after);
    setToolTip(m_text);
}

}  // namespace ui
