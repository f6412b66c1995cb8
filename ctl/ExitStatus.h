#pragma once

// What tarnelctl's exit status tells a script.

namespace tarnel::ctl {

inline constexpr int EXIT_DONE = 0;
// The module refused a command, did not answer one after the check or did
// not take a value (also: responses stay off, a link that did not end); in
// provision, a module failed; in ports, the port list could not be read
// completely; in reset, the question was answered no (a person at a
// terminal reads why; a script never meets it).
inline constexpr int EXIT_REFUSED = 1;
// The command line is wrong, or a confirmation is needed and none can be asked.
inline constexpr int EXIT_USAGE = 2;
// The port could not be opened (missing, busy, no permission, ...), or it
// failed while open (unplugged).
inline constexpr int EXIT_PORT = 3;
// The port opened, but no module answered on it.
inline constexpr int EXIT_NO_MODULE = 4;
// provision: a module's record could not be written to the --report file
// (or the file could not be opened): the line stopped.
inline constexpr int EXIT_REPORT = 5;
// Ctrl+C: the shells' status for a program ended by SIGINT. The commands
// return it for every way of being stopped; main turns it into the two
// below where they apply.
inline constexpr int EXIT_INTERRUPTED = 130;
// Standard output could not be written (its reader went away, as `| head`
// does): the shells' status for SIGPIPE, which the program ignores so as to
// stop a search on the module first. Whatever the command's own status was:
// its results were lost.
inline constexpr int EXIT_OUTPUT_CLOSED = 141;
// SIGTERM, as Ctrl+C.
inline constexpr int EXIT_TERMINATED = 143;

}  // namespace tarnel::ctl
