#pragma once

#include <ostream>
#include <string>

namespace tarnel::ctl {

// Ctrl+C, SIGTERM and a standard output that can no longer be written end a
// command at its next step instead of killing the program, so that a write
// begun is finished, the module's inquiry is stopped and the summary
// printed. The first of them is the one that counts.
enum class StopCause { None, Interrupt, Terminate, OutputClosed };

// Installs the platform's handlers; SIGPIPE is ignored where it exists, so
// that a closed output shows as a failed write.
void CatchInterrupt();
// For the handlers.
void StopCommand(StopCause cause);

bool Interrupted();
// What ended the command, as a message begins: "Interrupted",
// "Terminated" or "Standard output was closed".
std::string Interruption();
// Flushes `out` (standard output); a failed write stops the command.
void FlushOutput(std::ostream& out);
// The status the program exits with after a command returned `status`.
int ExitStatusAfter(int status);

}  // namespace tarnel::ctl
