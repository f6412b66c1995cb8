#include "platform/RichEditCtrl.h"

#include <QPalette>
#include <QPointer>
#include <QScrollBar>
#include <QTextBlock>

#include "platform/qt/InputMethodFilter.h"
#include "platform/qt/QtColor.h"
#include "platform/qt/QtText.h"
#include "platform/qt/RichEditWidget.h"
#include "platform/qt/WindowAccess.h"

namespace ui {
namespace {

RichEditWidget* EditOf(const Window& window) {
    return dynamic_cast<RichEditWidget*>(QWidgetOf(window));
}

// CR, LF and CR LF each become the document's one line break character.
QString NormalizeBreaks(std::u16string_view text) {
    QString normal;
    normal.reserve(static_cast<qsizetype>(text.size()));
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (unit == u'\r') {
            normal.append(QLatin1Char('\n'));
            if (i + 1 < text.size() && text[i + 1] == u'\n') ++i;
        } else {
            normal.append(QChar(unit));
        }
    }
    return normal;
}

long DocumentLength(const QPlainTextEdit& edit) {
    return edit.document()->characterCount() - 1;
}

}  // namespace

long RichEditCtrl::GetLimitText() const {
    const RichEditWidget* edit = EditOf(*this);
    return edit != nullptr ? edit->Limit() : kDefaultLimit;
}

void RichEditCtrl::LimitText(long limit) {
    if (RichEditWidget* edit = EditOf(*this)) edit->SetLimit(limit);
}

long RichEditCtrl::GetTextLength() const {
    const RichEditWidget* edit = EditOf(*this);
    return edit != nullptr ? DocumentLength(*edit) : 0;
}

void RichEditCtrl::SetSel(long start, long end) {
    RichEditWidget* edit = EditOf(*this);
    if (edit == nullptr) return;
    QTextCursor cursor = edit->Selection();
    if (start < 0) {
        cursor.clearSelection();
    } else {
        const long length = DocumentLength(*edit);
        if (end < 0 || end > length) end = length;
        cursor.setPosition(static_cast<int>(std::min(start, length)));
        cursor.setPosition(static_cast<int>(end), QTextCursor::KeepAnchor);
    }
    edit->SetSelection(cursor);
}

void RichEditCtrl::GetSel(long& start, long& end) const {
    const RichEditWidget* edit = EditOf(*this);
    if (edit == nullptr) return;
    const QTextCursor cursor = edit->Selection();
    start = cursor.selectionStart();
    end = cursor.selectionEnd();
}

void RichEditCtrl::ReplaceSel(std::u16string_view text, bool) {
    RichEditWidget* edit = EditOf(*this);
    if (edit == nullptr) return;
    QString insert = NormalizeBreaks(text);
    QTextCursor cursor = edit->Selection();
    const long kept = DocumentLength(*edit) - (cursor.selectionEnd() - cursor.selectionStart());
    const long room = std::max(0L, GetLimitText() - kept);
    const bool overflow = insert.size() > room;
    if (overflow) {
        qsizetype fits = room;
        if (fits > 0 && insert.at(fits - 1).isHighSurrogate()) --fits;
        insert.truncate(fits);
    }
    QTextCharFormat format;
    format.setForeground(edit->InsertColor());
    cursor.insertText(insert, format);
    edit->SetSelection(cursor);
    if (overflow) WindowAccess::Notify(*this, EN_MAXTEXT);
}

int RichEditCtrl::LineLength(long charIndex) const {
    const RichEditWidget* edit = EditOf(*this);
    if (edit == nullptr) return 0;
    const QTextDocument* document = edit->document();
    // A position past the end means the last line, as the native control has it.
    const QTextBlock block =
        charIndex < 0 ? edit->Selection().block()
                      : document->findBlock(static_cast<int>(std::min(charIndex, DocumentLength(*edit))));
    return block.isValid() ? block.length() - 1 : 0;
}

int RichEditCtrl::LineFromChar(long charIndex) const {
    const RichEditWidget* edit = EditOf(*this);
    if (edit == nullptr) return 0;
    if (charIndex < 0) return edit->Selection().blockNumber();
    const QTextDocument* document = edit->document();
    const QTextBlock block =
        document->findBlock(static_cast<int>(std::min(charIndex, DocumentLength(*edit))));
    return block.isValid() ? block.blockNumber() : document->blockCount() - 1;
}

long RichEditCtrl::LineIndex(int line) const {
    const RichEditWidget* edit = EditOf(*this);
    if (edit == nullptr) return -1;
    if (line < 0) line = edit->Selection().blockNumber();
    const QTextBlock block = edit->document()->findBlockByNumber(line);
    return block.isValid() ? block.position() : -1;
}

int RichEditCtrl::GetLineCount() const {
    const RichEditWidget* edit = EditOf(*this);
    return edit != nullptr ? edit->document()->blockCount() : 0;
}

bool RichEditCtrl::GetScrollInfo(int bar, SCROLLINFO& info) const {
    const RichEditWidget* edit = EditOf(*this);
    if (edit == nullptr || bar != SB_VERT) return false;
    const QScrollBar* scroll = edit->verticalScrollBar();
    const int page = std::max(1, scroll->pageStep());
    info.nMin = scroll->minimum();
    info.nMax = scroll->maximum() + page - 1;
    info.nPage = static_cast<unsigned>(page);
    info.nPos = scroll->value();
    return true;
}

void RichEditCtrl::ScrollToBottom() {
    if (RichEditWidget* edit = EditOf(*this))
        edit->verticalScrollBar()->setValue(edit->verticalScrollBar()->maximum());
}

void RichEditCtrl::ShowScrollBar(int bar, bool show) {
    RichEditWidget* edit = EditOf(*this);
    if (edit == nullptr) return;
    const Qt::ScrollBarPolicy policy = show ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
    if (bar == SB_VERT)
        edit->setVerticalScrollBarPolicy(policy);
    else
        edit->setHorizontalScrollBarPolicy(policy);
}

void RichEditCtrl::SetUndoLimit(int) {}

void RichEditCtrl::SetBackgroundColor(COLORREF color) {
    RichEditWidget* edit = EditOf(*this);
    if (edit == nullptr) return;
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, ToQColor(color));
    edit->setPalette(palette);
}

void RichEditCtrl::SetTextColor(COLORREF color) {
    RichEditWidget* edit = EditOf(*this);
    if (edit == nullptr) return;
    edit->SetInsertColor(ToQColor(color));
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Text, ToQColor(color));
    edit->setPalette(palette);
}

void RichEditCtrl::SetInputMethodHandlers(std::function<void(std::u16string_view)> onResult,
                                          std::function<void()> onComposing) {
    QWidget* widget = QWidgetOf(*this);
    if (widget == nullptr) return;
    const QObjectList children = widget->children();
    for (QObject* child : children) {
        if (dynamic_cast<InputMethodFilter*>(child) != nullptr) delete child;
    }
    // Owned by the widget, so it goes when the window does.
    widget->installEventFilter(new InputMethodFilter(std::move(onResult), std::move(onComposing), widget));
}

}  // namespace ui
