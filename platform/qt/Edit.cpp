#include "platform/Edit.h"

#include <QLineEdit>

#include "platform/qt/QtText.h"
#include "platform/qt/WindowAccess.h"

namespace ui {
namespace {

QLineEdit* LineOf(const Window& window) {
    return qobject_cast<QLineEdit*>(QWidgetOf(window));
}

}  // namespace

void Edit::SetReadOnly(bool readOnly) {
    if (QLineEdit* edit = LineOf(*this)) edit->setReadOnly(readOnly);
}

bool Edit::IsReadOnly() const {
    const QLineEdit* edit = LineOf(*this);
    return edit != nullptr && edit->isReadOnly();
}

void Edit::SetSel(int start, int end) {
    QLineEdit* edit = LineOf(*this);
    if (edit == nullptr) return;
    if (start < 0) {
        edit->deselect();
        return;
    }
    const int length = static_cast<int>(edit->text().size());
    if (end < 0 || end > length) end = length;
    start = std::min(start, length);
    edit->setSelection(start, end - start);
}

void Edit::GetSel(int& start, int& end) const {
    const QLineEdit* edit = LineOf(*this);
    if (edit == nullptr) return;
    if (edit->hasSelectedText()) {
        start = edit->selectionStart();
        end = edit->selectionEnd();
    } else {
        start = end = edit->cursorPosition();
    }
}

void Edit::ReplaceSel(std::u16string_view text) {
    if (QLineEdit* edit = LineOf(*this)) edit->insert(ToQString(text));
}

}  // namespace ui
