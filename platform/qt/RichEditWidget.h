#pragma once

// The widget of a rich edit control: typed and pasted text goes through the
// control's text limit (RichEditCtrl::ReplaceSel) instead of Qt's insertion.
// Every paste (keys, middle click, drop) is first offered to the control as
// WM_PASTE; a non-zero result keeps the text out. The context menu offers
// Copy and Select All only, nothing that edits.

#include <QColor>
#include <QPlainTextEdit>

namespace ui {

class RichEditWidget : public QPlainTextEdit {
public:
    explicit RichEditWidget(QWidget* parent);

    long Limit() const { return m_limit; }
    void SetLimit(long limit) { m_limit = limit; }
    // The colour of inserted text.
    QColor InsertColor() const { return m_color; }
    void SetInsertColor(const QColor& color) { m_color = color; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    bool Insert(const QString& text);

    long m_limit = 32767;
    QColor m_color = Qt::black;
};

}  // namespace ui
