#include "platform/Button.h"
#include "platform/qt/WindowAccess.h"

#include <QAbstractButton>

namespace ui {

int Button::GetCheck() const {
    const auto* button = qobject_cast<const QAbstractButton*>(QWidgetOf(*this));
    return button != nullptr && button->isChecked() ? BST_CHECKED : BST_UNCHECKED;
}

void Button::SetCheck(int check) {
    if (auto* button = qobject_cast<QAbstractButton*>(QWidgetOf(*this)))
        button->setChecked(check == BST_CHECKED);
}

void Button::Click() {
    if (auto* button = qobject_cast<QAbstractButton*>(QWidgetOf(*this))) button->click();
}

}  // namespace ui
