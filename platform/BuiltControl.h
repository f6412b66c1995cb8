#pragma once

// A control a dialog built from its template: the template's control and the
// toolkit's window (`Handle`) made for it. A dialog keeps them in the
// template's order, which the radio groups follow.

#include <algorithm>
#include <cstdint>
#include <vector>

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

// The radio buttons from the one with `firstId` to the end of its group: the
// following radio buttons up to the next control with WS_GROUP.
template <class Handle>
std::vector<Handle> RadioGroup(const std::vector<BuiltControl<Handle>>& controls, int firstId) {
    std::vector<Handle> group;
    auto it = std::find_if(controls.begin(), controls.end(),
                           [firstId](const auto& c) { return c.control->id == firstId; });
    for (auto c = it; c != controls.end() && IsRadioButton(*c->control); ++c) {
        if (c != it && (c->control->style & WS_GROUP)) break;
        group.push_back(c->handle);
    }
    return group;
}

}  // namespace ui
