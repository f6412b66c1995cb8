#include "platform/ServingWait.h"

#include <thread>

#include "platform/BoxRequests.h"
#include "platform/MessageBox.h"
#include "platform/Window.h"

namespace ui {
namespace {

// How long a serving wait sleeps between checks when no box request comes.
constexpr std::chrono::milliseconds kSlice{2};

// A wait that runs inside the loop of another thread's box (a handler
// dispatched while the box is up) can only end once that thread goes on, and
// the box cannot be answered before the wait returns: it is closed as
// dismissed, as a closing port closes its boxes.
void ServeOnce() {
    BoxRequests& requests = BoxRequests::Instance();
    if (requests.AnyShown()) CloseMessageBoxes();
    requests.ServePending();
    requests.WaitForRequest(kSlice);
}

}  // namespace

std::unique_lock<std::mutex> LockServing(std::mutex& mutex) {
    if (!IsWindowThread()) return std::unique_lock(mutex);
    for (;;) {
        std::unique_lock lock(mutex, std::try_to_lock);
        if (lock.owns_lock()) return lock;
        ServeOnce();
    }
}

void WaitServing(const std::function<bool()>& done) {
    const bool serving = IsWindowThread();
    while (!done()) {
        if (serving) {
            ServeOnce();
        } else {
            std::this_thread::sleep_for(kSlice);
        }
    }
}

}  // namespace ui
