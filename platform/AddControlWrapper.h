#pragma once

// The layer's own window for a template control that no member is bound to
// (yet): ui::Button, ui::Edit, ... by the control's class.

#include "platform/Window.h"
#include "res/ResourceTypes.h"

namespace ui {

// Makes the wrapper of `control`, owned by `dialog` and found by its id
// (GetDlgItem); the backend then attaches the toolkit's window to it.
Window& AddControlWrapper(Window& dialog, const res::ControlTemplate& control);

}  // namespace ui
