#pragma once

// What tarnelctl's exit status tells a script.

namespace tarnel::ctl {

inline constexpr int EXIT_DONE = 0;
// The module refused a command, did not answer it or did not take a value
// (also: responses stay off, a link that did not end); in provision, a
// module failed.
inline constexpr int EXIT_REFUSED = 1;
// The command line is wrong, or a confirmation is needed and none can be asked.
inline constexpr int EXIT_USAGE = 2;
// The port could not be opened (missing, busy, no permission, ...), or it
// failed while open (unplugged).
inline constexpr int EXIT_PORT = 3;
// The port opened, but no module answered on it.
inline constexpr int EXIT_NO_MODULE = 4;
// Ctrl+C (or SIGTERM): the shells' status for a program ended by SIGINT.
inline constexpr int EXIT_INTERRUPTED = 130;

}  // namespace tarnel::ctl
