#pragma once

// Static controls (labels, frames, rectangles) and anything a custom control
// paints itself on (MapPaint): a group box of the template can be bound to a
// ui::Static as well.

#include "platform/Window.h"

namespace ui {

class Static : public Window {
protected:
    bool CanAttachTo(const QWidget& widget) const override;
};

}  // namespace ui
