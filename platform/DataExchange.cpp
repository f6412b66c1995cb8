#include "platform/DataExchange.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "platform/Dialog.h"
#include "platform/WindowCore.h"

namespace ui {

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

}  // namespace ui
