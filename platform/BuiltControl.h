#pragma once

// A control a dialog built from its template: the template's control and the
// toolkit's window (`Handle`) made for it. A dialog keeps them in the
// template's order, which the radio groups follow.

#include <cstdint>

#include "res/ResourceTypes.h"
#include "res/WinDefs.h"

namespace ui {

template <class Handle>
struct BuiltControl {
    const res::ControlTemplate* control;
    Handle handle;
};

inline bool IsRadioButton(const res::ControlTemplate& control) {
    const std::uint32_t kind = control.style & BS_TYPEMASK;
    return control.cls == res::ControlClass::Button && (kind == BS_RADIOBUTTON || kind == BS_AUTORADIOBUTTON);
}

}  // namespace ui
