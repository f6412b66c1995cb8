#pragma once

// Static controls (labels, frames, rectangles) and anything a custom control
// paints itself on (MapPaint): a group box of the template can be bound to a
// ui::Static as well.

#include "platform/Window.h"

namespace ui {

class Static : public Window {
protected:
    bool CanAttachTo(const res::ControlTemplate& control) const override {
        // A group box of the template paints like a static control.
        return control.cls == res::ControlClass::Static ||
               (control.cls == res::ControlClass::Button && (control.style & BS_TYPEMASK) == BS_GROUPBOX);
    }
};

}  // namespace ui
