#include "platform/Static.h"

#include "platform/qt/StaticWidget.h"

namespace ui {

bool Static::CanAttachTo(const QWidget& widget) const {
    return dynamic_cast<const StaticWidget*>(&widget) != nullptr;
}

}  // namespace ui
