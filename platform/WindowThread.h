#pragma once

// What the backend offers the shared part: work handed to the window thread.

#include <functional>

namespace ui {

// Any thread: runs `task` on the window thread from its event loop, in the
// order of the calls.
void PostToWindowThread(std::function<void()> task);

}  // namespace ui
