#include "ctl/Interrupt.h"

#include <windows.h>

namespace tarnel::ctl {
namespace {

// Ctrl+C and Ctrl+Break only: Windows ends the program after the handler of
// a closed console or a shutdown returns, so there is no SIGTERM to mirror;
// and a closed pipe fails the write without a signal.
BOOL WINAPI OnConsoleEvent(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
    StopCommand(StopCause::Interrupt);
    return TRUE;
}

}  // namespace

void CatchInterrupt() {
    SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

}  // namespace tarnel::ctl
