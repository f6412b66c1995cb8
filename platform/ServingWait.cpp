#include "platform/ServingWait.h"

#include <thread>

#include "platform/BoxRequests.h"
#include "platform/Window.h"

namespace ui {
namespace {

// How long a serving wait sleeps between checks when no box request comes.
constexpr std::chrono::milliseconds kSlice{2};

}  // namespace

std::unique_lock<std::mutex> LockServing(std::mutex& mutex) {
    if (!IsWindowThread()) return std::unique_lock(mutex);
    for (;;) {
        std::unique_lock lock(mutex, std::try_to_lock);
        if (lock.owns_lock()) return lock;
        BoxRequests::Instance().ServePending();
        BoxRequests::Instance().WaitForRequest(kSlice);
    }
}

void WaitServing(const std::function<bool()>& done) {
    const bool serving = IsWindowThread();
    while (!done()) {
        if (serving) {
            BoxRequests::Instance().ServePending();
            BoxRequests::Instance().WaitForRequest(kSlice);
        } else {
            std::this_thread::sleep_for(kSlice);
        }
    }
}

}  // namespace ui
