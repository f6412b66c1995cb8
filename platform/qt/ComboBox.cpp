#include "platform/ComboBox.h"

#include <QLineEdit>

#include "platform/qt/ComboWidget.h"
#include "platform/qt/QtText.h"
#include "platform/qt/WindowAccess.h"

namespace ui {
namespace {

ComboWidget* ComboOf(const Window& window) {
    return dynamic_cast<ComboWidget*>(QWidgetOf(window));
}

// Qt moves the selection and the edit text when items come and go; Windows
// leaves the edit field alone. Restores it on leaving the scope.
class KeepEditText {
public:
    explicit KeepEditText(ComboWidget& combo)
        : m_edit(combo.lineEdit()), m_text(m_edit ? m_edit->text() : QString()) {
        if (m_edit) {
            m_cursor = m_edit->cursorPosition();
            m_selStart = m_edit->selectionStart();
            m_selLength = static_cast<int>(m_edit->selectedText().size());
        }
    }
    ~KeepEditText() {
        if (m_edit == nullptr || m_edit->text() == m_text) return;
        m_edit->setText(m_text);
        if (m_selStart >= 0)
            m_edit->setSelection(m_selStart, m_selLength);
        else
            m_edit->setCursorPosition(m_cursor);
    }
    KeepEditText(const KeepEditText&) = delete;
    KeepEditText& operator=(const KeepEditText&) = delete;

private:
    QLineEdit* m_edit;
    QString m_text;
    int m_cursor = 0;
    int m_selStart = -1;
    int m_selLength = 0;
};

}  // namespace

int ComboBox::GetCount() const {
    const ComboWidget* combo = ComboOf(*this);
    return combo != nullptr ? combo->count() : 0;
}

int ComboBox::AddString(std::u16string_view text) {
    const ComboWidget* combo = ComboOf(*this);
    if (combo == nullptr) return CB_ERR;
    int index = combo->count();
    if (combo->IsSorted()) {
        const QString item = ToQString(text);
        index = 0;
        while (index < combo->count() &&
               QString::compare(combo->itemText(index), item, Qt::CaseInsensitive) <= 0)
            ++index;
    }
    return InsertString(index, text);
}

int ComboBox::InsertString(int index, std::u16string_view text) {
    ComboWidget* combo = ComboOf(*this);
    if (combo == nullptr || index > combo->count()) return CB_ERR;
    if (index < 0) index = combo->count();
    const int selected = combo->currentIndex();
    KeepEditText keep(*combo);
    combo->insertItem(index, ToQString(text));
    // Qt selects the first item put into an empty list; Windows does not.
    if (selected < 0) combo->setCurrentIndex(-1);
    return index;
}

int ComboBox::DeleteString(int index) {
    ComboWidget* combo = ComboOf(*this);
    if (combo == nullptr || index < 0 || index >= combo->count()) return CB_ERR;
    const bool wasSelected = combo->currentIndex() == index;
    KeepEditText keep(*combo);
    combo->removeItem(index);
    if (wasSelected) combo->setCurrentIndex(-1);
    return combo->count();
}

void ComboBox::ResetContent() {
    ComboWidget* combo = ComboOf(*this);
    if (combo == nullptr) return;
    combo->clear();
    if (combo->lineEdit() != nullptr) combo->lineEdit()->clear();
}

int ComboBox::GetCurSel() const {
    const ComboWidget* combo = ComboOf(*this);
    return combo != nullptr ? combo->currentIndex() : CB_ERR;
}

int ComboBox::SetCurSel(int index) {
    ComboWidget* combo = ComboOf(*this);
    if (combo == nullptr) return CB_ERR;
    if (index < 0 || index >= combo->count()) {
        combo->setCurrentIndex(-1);
        if (combo->lineEdit() != nullptr) combo->lineEdit()->clear();
        return CB_ERR;
    }
    combo->setCurrentIndex(index);
    // Windows puts the item's text into the edit field even when the item
    // was selected already.
    if (combo->lineEdit() != nullptr && combo->lineEdit()->text() != combo->itemText(index))
        combo->lineEdit()->setText(combo->itemText(index));
    return index;
}

ComboBox::ItemData ComboBox::GetItemData(int index) const {
    const ComboWidget* combo = ComboOf(*this);
    if (combo == nullptr || index < 0 || index >= combo->count()) return static_cast<ItemData>(CB_ERR);
    return static_cast<ItemData>(combo->itemData(index).toULongLong());
}

int ComboBox::SetItemData(int index, ItemData data) {
    ComboWidget* combo = ComboOf(*this);
    if (combo == nullptr || index < 0 || index >= combo->count()) return CB_ERR;
    combo->setItemData(index, QVariant::fromValue<qulonglong>(data));
    return 0;
}

std::u16string ComboBox::GetLBText(int index) const {
    const ComboWidget* combo = ComboOf(*this);
    if (combo == nullptr || index < 0 || index >= combo->count()) return {};
    return FromQString(combo->itemText(index));
}

std::uint32_t ComboBox::GetEditSel() const {
    const ComboWidget* combo = ComboOf(*this);
    const QLineEdit* edit = combo != nullptr ? combo->lineEdit() : nullptr;
    if (edit == nullptr) return static_cast<std::uint32_t>(CB_ERR);
    int start = edit->cursorPosition();
    int end = start;
    if (edit->hasSelectedText()) {
        start = edit->selectionStart();
        end = edit->selectionEnd();
    }
    return (static_cast<std::uint32_t>(start) & 0xFFFFu) |
           ((static_cast<std::uint32_t>(end) & 0xFFFFu) << 16);
}

bool ComboBox::SetEditSel(int start, int end) {
    ComboWidget* combo = ComboOf(*this);
    QLineEdit* edit = combo != nullptr ? combo->lineEdit() : nullptr;
    if (edit == nullptr) return false;
    if (start < 0) {
        edit->deselect();
        return true;
    }
    const int length = static_cast<int>(edit->text().size());
    if (end < 0 || end > length) end = length;
    start = std::min(start, length);
    edit->setSelection(start, end - start);
    return true;
}

}  // namespace ui
