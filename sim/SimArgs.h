#pragma once

#include <string>
#include <vector>

#include "sim/SimConfig.h"

namespace tarnel::sim {

// What tarnel-sim's command line asks for.
struct SimArgs {
    SimConfig config;
    std::string linkName = "tarnel-sim";  // in the virtual port directory
    bool publish = true;                  // false with --no-link
    bool logCommands = true;              // print each received command line
    bool help = false;                    // --help: print SimUsage() and exit 0
    std::string error;                    // not empty: the command line is bad
};

// Reads the arguments after the program name. On a bad argument `error` says
// which and why, and the other fields are not to be used.
SimArgs ParseSimArgs(const std::vector<std::string>& args);

// The flags that make ParseSimArgs give `config` again, as "--flag=VALUE"
// or "--flag". Factory settings have no flag: a config whose factory
// settings are not a fresh module's gives std::invalid_argument.
std::vector<std::string> FormatSimArgs(const SimConfig& config);

// The text of --help: every flag with its meaning and default.
std::string SimUsage();

}  // namespace tarnel::sim
