#include "platform/qt/StaticWidget.h"

#include <QPainter>

#include "platform/qt/WindowAccess.h"

namespace ui {

StaticWidget::StaticWidget(Look look, QWidget* parent) : QLabel(parent), m_look(look) {
    setTextFormat(Qt::PlainText);
    // A group box is drawn around controls that come before it in a template
    // and so lie below it; as on Windows, clicks go through it to them.
    if (look == Look::GroupBox) setAttribute(Qt::WA_TransparentForMouseEvents);
}

void StaticWidget::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    if (Window* window = WindowAccess::FromWidget(this);
        window != nullptr && WindowAccess::Paint(*window, painter))
        return;
    switch (m_look) {
        case Look::BlackRect:
            painter.fillRect(rect(), Qt::black);
            break;
        case Look::BlackFrame:
            painter.setPen(Qt::black);
            painter.drawRect(rect().adjusted(0, 0, -1, -1));
            break;
        case Look::GroupBox:
            PaintGroupBox(painter);
            break;
        case Look::Text:
            painter.end();
            QLabel::paintEvent(event);
            break;
    }
}

void StaticWidget::PaintGroupBox(QPainter& painter) {
    const QFontMetrics metrics(font());
    const int half = metrics.height() / 2;
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(rect().adjusted(0, half, -1, -1));
    if (text().isEmpty()) return;
    const QRect title(8, 0, metrics.horizontalAdvance(text()) + 4, metrics.height());
    painter.fillRect(title, palette().color(QPalette::Window));
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.drawText(title, Qt::AlignCenter, text());
}

}  // namespace ui
