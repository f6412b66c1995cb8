#include "platform/qt/ComboWidget.h"

#include <QLineEdit>
#include <QPointer>

#include "platform/qt/WindowAccess.h"

namespace ui {

ComboWidget::ComboWidget(bool editable, bool sorted, QWidget* parent) : QComboBox(parent), m_sorted(sorted) {
    setEditable(editable);
    // Qt's own completion, insertion and matching on Enter would change the
    // list and the text behind the program's back.
    setInsertPolicy(QComboBox::NoInsert);
    setDuplicatesEnabled(true);
    if (editable) setCompleter(nullptr);
    setMaxVisibleItems(30);
}

void ComboWidget::showPopup() {
    const QPointer<ComboWidget> alive(this);
    if (Window* window = WindowAccess::FromWidget(this)) WindowAccess::Notify(*window, CBN_DROPDOWN);
    if (alive) QComboBox::showPopup();
}

}  // namespace ui
