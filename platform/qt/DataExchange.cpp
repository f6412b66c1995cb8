#include "platform/DataExchange.h"

#include <QAbstractButton>
#include <algorithm>
#include <stdexcept>
#include <string>

#include "platform/Dialog.h"
#include "platform/qt/WindowAccess.h"

namespace ui {

void DDX_Control(DataExchange& dx, int id, Window& control) {
    if (control.IsWindow()) return;
    Dialog& dialog = dx.GetDialog();
    Window* current = dialog.GetDlgItem(id);
    if (current == nullptr) throw std::logic_error("DDX_Control: no control " + std::to_string(id));
    QWidget* widget = current->GetQWidget();
    if (!WindowAccess::CanAttach(control, *widget))
        throw std::logic_error("DDX_Control: control " + std::to_string(id) + " is of another kind");
    auto& state = WindowAccess::StateOf(dialog);
    WindowAccess::Detach(*current);
    auto& own = state.ownControls;
    own.erase(std::remove_if(own.begin(), own.end(), [current](const auto& w) { return w.get() == current; }),
              own.end());
    WindowAccess::Attach(control, widget, id, &dialog, false);
    state.controls[id] = &control;
    WindowAccess::CallPreSubclass(control);
}

void DDX_Radio(DataExchange& dx, int firstId, int& value) {
    const std::vector<QWidget*> group = dx.GetDialog().RadioGroup(firstId);
    if (dx.IsSaving()) {
        value = -1;
        for (size_t i = 0; i < group.size(); ++i) {
            if (static_cast<QAbstractButton*>(group[i])->isChecked()) {
                value = static_cast<int>(i);
                break;
            }
        }
        return;
    }
    for (size_t i = 0; i < group.size(); ++i)
        static_cast<QAbstractButton*>(group[i])->setChecked(static_cast<int>(i) == value);
}

}  // namespace ui
