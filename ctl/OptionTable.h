#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ctl/Command.h"

namespace tarnel::ctl {

// One line of the options in the help, and what the parser takes from it.
// An option may have two lines (--name is a TEXT in set and a PATTERN in
// provision); the parser takes the union of their commands.
struct OptionEntry {
    std::string_view name;   // "--name"
    char shortName;          // '\0': none
    std::string_view value;  // what the help calls its value ("TEXT"); empty for a flag
    unsigned commands;       // CommandBit() of each command that takes it
    bool repeatable;
    std::string_view help;  // lines of the help, without their indentation
};

// Every option of every command, in the order the help lists them.
const std::vector<OptionEntry>& OptionEntries();
// The option called `name` ("--name" or "-n"), or null.
const OptionEntry* FindOption(std::string_view name);
// Whether `command` takes the option called `name` ("--name").
bool TakesOption(Command command, std::string_view name);

}  // namespace tarnel::ctl
