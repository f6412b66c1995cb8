#include "platform/Button.h"

#include <QAbstractButton>

#include "platform/qt/StaticWidget.h"

namespace ui {

int Button::GetCheck() const {
    const auto* button = qobject_cast<const QAbstractButton*>(GetQWidget());
    return button != nullptr && button->isChecked() ? BST_CHECKED : BST_UNCHECKED;
}

void Button::SetCheck(int check) {
    if (auto* button = qobject_cast<QAbstractButton*>(GetQWidget())) button->setChecked(check == BST_CHECKED);
}

void Button::Click() {
    if (auto* button = qobject_cast<QAbstractButton*>(GetQWidget())) button->click();
}

bool Button::CanAttachTo(const QWidget& widget) const {
    const auto* group = dynamic_cast<const StaticWidget*>(&widget);
    return qobject_cast<const QAbstractButton*>(&widget) != nullptr ||
           (group != nullptr && group->GetLook() == StaticWidget::Look::GroupBox);
}

}  // namespace ui
