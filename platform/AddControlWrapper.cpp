#include "platform/AddControlWrapper.h"

#include <memory>

#include "platform/Button.h"
#include "platform/ComboBox.h"
#include "platform/Edit.h"
#include "platform/ListCtrl.h"
#include "platform/RichEditCtrl.h"
#include "platform/Static.h"
#include "platform/WindowCore.h"

namespace ui {
namespace {

std::unique_ptr<Window> MakeWrapper(res::ControlClass cls) {
    switch (cls) {
        case res::ControlClass::Button:
            return std::make_unique<Button>();
        case res::ControlClass::Static:
            return std::make_unique<Static>();
        case res::ControlClass::Edit:
            return std::make_unique<Edit>();
        case res::ControlClass::ComboBox:
            return std::make_unique<ComboBox>();
        case res::ControlClass::ListView:
            return std::make_unique<ListCtrl>();
        case res::ControlClass::RichEdit:
            return std::make_unique<RichEditCtrl>();
    }
    return std::make_unique<Window>();
}

}  // namespace

Window& AddControlWrapper(Window& dialog, const res::ControlTemplate& control) {
    WindowCore& core = CoreOf(dialog);
    Window& wrapper = *core.ownControls.emplace_back(MakeWrapper(control.cls));
    if (control.id != IDC_STATIC) core.controls.emplace(control.id, &wrapper);
    return wrapper;
}

}  // namespace ui
