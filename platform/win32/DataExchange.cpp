#include "platform/DataExchange.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "platform/Dialog.h"
#include "platform/win32/WindowAccess.h"

namespace ui {

void DDX_Control(DataExchange& dx, int id, Window& control) {
    if (control.IsWindow()) return;
    Dialog& dialog = dx.GetDialog();
    Window* current = dialog.GetDlgItem(id);
    if (current == nullptr) throw std::logic_error("DDX_Control: no control " + std::to_string(id));
    const auto& controls = dialog.Template()->controls;
    const auto bound =
        std::find_if(controls.begin(), controls.end(), [id](const auto& c) { return c.id == id; });
    if (bound == controls.end() || !WindowAccess::CanAttach(control, *bound))
        throw std::logic_error("DDX_Control: control " + std::to_string(id) + " is of another kind");
    HWND__* hwnd = HwndOf(*current);
    auto& state = WindowAccess::StateOf(dialog);
    WindowAccess::Detach(*current);
    auto& own = state.ownControls;
    own.erase(std::remove_if(own.begin(), own.end(), [current](const auto& w) { return w.get() == current; }),
              own.end());
    WindowAccess::AttachRouted(control, hwnd, id, &dialog, false);
    state.controls[id] = &control;
    WindowAccess::CallPreSubclass(control);
}

}  // namespace ui
