#pragma once

namespace tarnel::ctl {

// The parts of the help text that differ by platform; each platform's source
// defines them.

// A port name as the examples use it.
extern const char* const EXAMPLE_PORT;
// The lines under "ports": what is listed beside the names.
extern const char* const PORTS_HELP;
// The line of exit status 3.
extern const char* const OPEN_FAILED_HELP;
// The lines after exit status 141: SIGTERM where there is one.
extern const char* const TERMINATED_HELP;

}  // namespace tarnel::ctl
