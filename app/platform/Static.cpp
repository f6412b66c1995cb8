#include "app/platform/Static.h"

#include "app/platform/StaticWidget.h"

namespace ui {

bool Static::CanAttachTo(const QWidget& widget) const {
    return dynamic_cast<const StaticWidget*>(&widget) != nullptr;
}

}  // namespace ui
