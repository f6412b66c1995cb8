#pragma once

// One pane of a status bar. Its text may name a part that gives way when the
// pane is too narrow for the whole: that part loses its middle to an
// ellipsis, and the pane's tip then shows the whole text.

#include <QLabel>

namespace ui {

class StatusPane : public QLabel {
public:
    explicit StatusPane(QWidget* parent);

    // Shows `text`; [first, first + count) may be shortened (count 0: none).
    void SetFullText(const QString& text, qsizetype first = 0, qsizetype count = 0);
    const QString& FullText() const { return m_text; }
    // The pane width that shows `text` whole.
    int WidthFor(const QString& text) const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Fit();

    QString m_text;
    qsizetype m_first = 0;
    qsizetype m_count = 0;
};

}  // namespace ui
