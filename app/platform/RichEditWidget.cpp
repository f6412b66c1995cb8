#include "app/platform/RichEditWidget.h"

#include <QKeyEvent>
#include <QMimeData>

#include "app/platform/QtText.h"
#include "app/platform/RichEditCtrl.h"
#include "app/platform/WindowAccess.h"

namespace ui {

RichEditWidget::RichEditWidget(QWidget* parent) : QPlainTextEdit(parent) {
    setUndoRedoEnabled(false);
}

bool RichEditWidget::Insert(const QString& text) {
    auto* control = dynamic_cast<RichEditCtrl*>(WindowAccess::FromWidget(this));
    if (control == nullptr || isReadOnly()) return false;
    control->ReplaceSel(FromQString(text));
    ensureCursorVisible();
    return true;
}

void RichEditWidget::keyPressEvent(QKeyEvent* event) {
    const QString text = event->text();
    const bool insertable =
        !text.isEmpty() && event->key() != Qt::Key_Backspace && event->key() != Qt::Key_Delete &&
        event->key() != Qt::Key_Escape &&
        (text.front().isPrint() || text.front() == QLatin1Char('\r') || text.front() == QLatin1Char('\t'));
    if (insertable && Insert(text)) {
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void RichEditWidget::insertFromMimeData(const QMimeData* source) {
    if (!source->hasText() || !Insert(source->text())) QPlainTextEdit::insertFromMimeData(source);
}

}  // namespace ui
