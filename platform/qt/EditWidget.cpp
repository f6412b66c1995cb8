#include "platform/qt/EditWidget.h"

#include <QApplication>
#include <QEvent>
#include <QPalette>

namespace ui {

EditWidget::EditWidget(QWidget* parent) : QLineEdit(parent) {}

void EditWidget::changeEvent(QEvent* event) {
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::ReadOnlyChange) ShowReadOnlyLook();
}

void EditWidget::ShowReadOnlyLook() {
    QPalette palette = this->palette();
    const QPalette normal = QApplication::palette(this);
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setBrush(group, QPalette::Base,
                         normal.brush(group, isReadOnly() ? QPalette::Window : QPalette::Base));
    }
    setPalette(palette);
}

}  // namespace ui
