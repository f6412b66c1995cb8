#pragma once

#include <ostream>
#include <string>
#include <string_view>

namespace tarnel::ctl {

// --trace: every byte sent to a module and received from it, and every
// framing a port is opened at, one line each with the seconds since the
// trace began, so that a module that "did not answer" can be told apart from
// one that answered something else. Writes come from the command's thread and
// from the channel's reading thread; a lock keeps their lines whole.
class Trace {
public:
    // Starts the clock; nothing is written before this.
    static void Enable(std::ostream& out);
    static bool Enabled();
    // '>' for bytes sent, '<' for bytes received.
    static void Bytes(const std::string& port, char direction, std::string_view bytes);
    static void Note(const std::string& port, const std::string& text);
};

// `bytes` readable on one line: printable ASCII as it is, CR and LF as \r
// and \n, a backslash doubled, every other byte as \xNN.
std::string TraceText(std::string_view bytes);

}  // namespace tarnel::ctl
