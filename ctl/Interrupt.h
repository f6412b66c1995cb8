#pragma once

namespace tarnel::ctl {

// Ctrl+C ends a search or a production line at the next step instead of
// killing the program, so that the module's inquiry is stopped and the
// summary printed.
void CatchInterrupt();
bool Interrupted();

}  // namespace tarnel::ctl
