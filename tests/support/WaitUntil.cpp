#include "tests/support/WaitUntil.h"

#include <thread>

namespace tarnel::test {

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout,
               const std::function<void()>& pump) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (condition()) return true;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        if (pump) pump();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

}  // namespace tarnel::test
