#pragma once

// The test hooks as the layer's sources read them.

#include <functional>

#include "platform/TestHooks.h"

namespace ui::detail {

// Copies, so that a hook may replace itself while it runs.
std::function<int(const test::MessageBoxCall&)> MessageBoxHook();
std::function<void(Dialog&)> ModalHook();

}  // namespace ui::detail
