#pragma once

#include <string>
#include <vector>

namespace tarnel::ctl {

// What tarnelctl learns of the console it was started from, once, before
// anything is printed.
struct Console {
    // The command line without the program's name, in UTF-8, the encoding the
    // module's device name is written in.
    std::vector<std::string> args;
    bool inIsTerminal = false;   // a question can be asked there
    bool errIsTerminal = false;  // a progress line can be drawn there
};

// Reads the command line and looks at the standard streams. On Windows it also
// has the console show UTF-8 output and draw the progress line's erase
// sequence, until the program ends.
Console SetUpConsole(int argc, char** argv);

}  // namespace tarnel::ctl
