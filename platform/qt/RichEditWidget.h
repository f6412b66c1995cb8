#pragma once

// The widget of a rich edit control: typed and pasted text goes through the
// control's text limit (RichEditCtrl::ReplaceSel) instead of Qt's insertion.
// Every paste (keys, middle click, drop) is first offered to the control as
// WM_PASTE; a non-zero result keeps the text out. The context menu offers
// Copy and Select All only, nothing that edits.

#include <QColor>
#include <QPlainTextEdit>
#include <QTextCursor>

namespace ui {

class RichEditWidget : public QPlainTextEdit {
public:
    explicit RichEditWidget(QWidget* parent);

    long Limit() const { return m_limit; }
    void SetLimit(long limit) { m_limit = limit; }
    // The colour of inserted text.
    QColor InsertColor() const { return m_color; }
    void SetInsertColor(const QColor& color) { m_color = color; }

    // The control's selection. The widget's own cursor takes it over only
    // before the widget next handles an event: setting that cursor lays out
    // the text around it to keep it in view, which for a run of edits (delete
    // the oldest lines, insert at the end) would lay out text that is never
    // shown.
    QTextCursor Selection() const;
    void SetSelection(const QTextCursor& selection);
    // Hands a pending selection to the widget's cursor now.
    void ApplySelection();

protected:
    bool event(QEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    bool Insert(const QString& text);

    long m_limit = 32767;
    // Null while the widget's cursor is the selection.
    QTextCursor m_pendingSelection;
    QColor m_color = Qt::black;
};

}  // namespace ui
