#include "ctl/Interrupt.h"

#include <atomic>

#include "ctl/ExitStatus.h"

namespace tarnel::ctl {
namespace {

// Set from a signal handler, or on Windows from the console's own thread.
std::atomic<StopCause> g_cause{StopCause::None};
static_assert(std::atomic<StopCause>::is_always_lock_free, "a signal handler may store it");

}  // namespace

void StopCommand(StopCause cause) {
    StopCause none = StopCause::None;
    g_cause.compare_exchange_strong(none, cause);
}

bool Interrupted() {
    return g_cause != StopCause::None;
}

std::string Interruption() {
    switch (g_cause) {
        case StopCause::Terminate:
            return "Terminated";
        case StopCause::OutputClosed:
            return "Standard output was closed";
        default:
            return "Interrupted";
    }
}

void FlushOutput(std::ostream& out) {
    if (!out.flush()) StopCommand(StopCause::OutputClosed);
}

int ExitStatusAfter(int status) {
    if (g_cause == StopCause::OutputClosed) return EXIT_OUTPUT_CLOSED;
    if (g_cause == StopCause::Terminate && status == EXIT_INTERRUPTED) return EXIT_TERMINATED;
    return status;
}

}  // namespace tarnel::ctl
