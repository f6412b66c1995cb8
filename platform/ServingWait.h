#pragma once

// Waits of the window thread that keep answering message boxes requested by
// other threads (platform/MessageBox.h), so that a window thread waiting
// on a lock or a thread that shows a box does not deadlock. Nothing else is
// handled while waiting: posted messages, timers and input wait.
// On any other thread these are plain waits.

#include <functional>
#include <mutex>

namespace ui {

// Locks `mutex`; the window thread serves box requests until it gets it.
std::unique_lock<std::mutex> LockServing(std::mutex& mutex);

// Returns once `done()` is true, checking it at least every few
// milliseconds and whenever a box request was served.
void WaitServing(const std::function<bool()>& done);

}  // namespace ui
