#include "platform/Static.h"

#include "platform/StaticWidget.h"

namespace ui {

bool Static::CanAttachTo(const QWidget& widget) const {
    return dynamic_cast<const StaticWidget*>(&widget) != nullptr;
}

}  // namespace ui
