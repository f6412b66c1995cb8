#include "platform/qt/RichEditWidget.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>

#include "platform/Localized.h"
#include "platform/RichEditCtrl.h"
#include "platform/qt/QtText.h"
#include "platform/qt/WindowAccess.h"

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
    if (Window* control = WindowAccess::FromWidget(this);
        control != nullptr && control->SendMessage(WM_PASTE) != 0)
        return;
    if (!source->hasText() || !Insert(source->text())) QPlainTextEdit::insertFromMimeData(source);
}

// Rich Edit 2.0 has no menu of its own; copying out is all a reader of the
// text needs, and editing commands would bypass the control's key handling.
void RichEditWidget::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    QAction* copyAction =
        menu.addAction(ToQString(Localized(res::Text{u"&Copy", u"복사(&C)"})), this, &QPlainTextEdit::copy);
    copyAction->setEnabled(textCursor().hasSelection());
    menu.addAction(ToQString(Localized(res::Text{u"Select &All", u"모두 선택(&A)"})), this,
                   &QPlainTextEdit::selectAll);
    menu.exec(event->globalPos());
}

}  // namespace ui
