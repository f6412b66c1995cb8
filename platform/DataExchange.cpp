#include "platform/DataExchange.h"

#include <algorithm>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/BuiltControl.h"
#include "platform/Dialog.h"
#include "platform/WindowCore.h"

namespace ui {
namespace {

// The ids of the radio buttons from `firstId` to the end of its group: the
// following radio buttons of the template up to the next control with
// WS_GROUP.
std::vector<int> RadioGroup(std::span<const res::ControlTemplate> controls, int firstId) {
    std::vector<int> group;
    const auto first =
        std::find_if(controls.begin(), controls.end(), [firstId](const auto& c) { return c.id == firstId; });
    for (auto c = first; c != controls.end() && IsRadioButton(*c); ++c) {
        if (c != first && (c->style & WS_GROUP)) break;
        group.push_back(c->id);
    }
    return group;
}

}  // namespace

void DDX_Control(DataExchange& dx, int id, Window& control) {
    if (control.IsWindow()) return;
    Dialog& dialog = dx.GetDialog();
    Window* current = dialog.GetDlgItem(id);
    if (current == nullptr) throw std::logic_error("DDX_Control: no control " + std::to_string(id));
    const auto& controls = dialog.Template()->controls;
    const auto bound =
        std::find_if(controls.begin(), controls.end(), [id](const auto& c) { return c.id == id; });
    if (bound == controls.end() || !control.CanAttachTo(*bound))
        throw std::logic_error("DDX_Control: control " + std::to_string(id) + " is of another kind");
    HandOverToolkitWindow(*current, control, id, dialog);
    WindowCore& core = CoreOf(dialog);
    auto& own = core.ownControls;
    own.erase(std::remove_if(own.begin(), own.end(), [current](const auto& w) { return w.get() == current; }),
              own.end());
    core.controls[id] = &control;
    control.PreSubclassWindow();
}

void DDX_Radio(DataExchange& dx, int firstId, int& value) {
    Dialog& dialog = dx.GetDialog();
    const std::vector<int> group =
        dialog.IsWindow() ? RadioGroup(dialog.Template()->controls, firstId) : std::vector<int>();
    if (dx.IsSaving()) {
        const auto checked = std::find_if(group.begin(), group.end(), [&dialog](int id) {
            return dialog.IsDlgButtonChecked(id) == BST_CHECKED;
        });
        value = checked == group.end() ? -1 : static_cast<int>(checked - group.begin());
        return;
    }
    for (size_t i = 0; i < group.size(); ++i)
        dialog.CheckDlgButton(group[i], static_cast<int>(i) == value ? BST_CHECKED : BST_UNCHECKED);
}

}  // namespace ui
