#pragma once

#include <chrono>
#include <functional>

namespace tarnel::test {

// Polls `condition` until it holds or `timeout` passes; `pump` runs between
// polls (a window test passes its event processing). Returns whether the
// condition held. This is the only way tests wait: never a fixed sleep.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout,
               const std::function<void()>& pump = {});

}  // namespace tarnel::test
