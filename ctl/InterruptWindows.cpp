#include "ctl/Interrupt.h"

#include <windows.h>

#include <atomic>

namespace tarnel::ctl {
namespace {

// The console calls the handler on a thread of its own.
std::atomic<bool> g_interrupted{false};

BOOL WINAPI OnConsoleEvent(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
    g_interrupted = true;
    return TRUE;
}

}  // namespace

void CatchInterrupt() {
    SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

bool Interrupted() {
    return g_interrupted;
}

}  // namespace tarnel::ctl
