#pragma once

// The widget of an edit control. Read-only, it shows the dialog's face
// behind its text, as a read-only edit does on Windows, so that a user sees
// it cannot be typed into; Qt's styles draw it the same either way.

#include <QLineEdit>

namespace ui {

class EditWidget : public QLineEdit {
public:
    explicit EditWidget(QWidget* parent);

protected:
    void changeEvent(QEvent* event) override;

private:
    void ShowReadOnlyLook();
};

}  // namespace ui
