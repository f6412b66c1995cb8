#pragma once

#include <istream>
#include <ostream>

namespace tarnel::ctl {

// Where a command reads its confirmation, prints its results and says what
// happened, and which of these are terminals.
struct CtlStreams {
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
    bool inIsTerminal = false;
    bool errIsTerminal = false;  // the progress line shows only then
};

}  // namespace tarnel::ctl
