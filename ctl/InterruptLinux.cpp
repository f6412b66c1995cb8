#include "ctl/Interrupt.h"

#include <csignal>

namespace tarnel::ctl {
namespace {

void OnSignal(int signal) {
    StopCommand(signal == SIGTERM ? StopCause::Terminate : StopCause::Interrupt);
}

}  // namespace

void CatchInterrupt() {
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
}

}  // namespace tarnel::ctl
