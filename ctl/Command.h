#pragma once

#include <string>
#include <string_view>

namespace tarnel::ctl {

enum class Command { None, Ports, Info, Set, Reset, Search, Find, Provision, Verify };

constexpr unsigned CommandBit(Command command) {
    return 1u << static_cast<unsigned>(command);
}

inline constexpr unsigned kModuleCommands = CommandBit(Command::Info) | CommandBit(Command::Set) |
                                            CommandBit(Command::Reset) | CommandBit(Command::Search) |
                                            CommandBit(Command::Find) | CommandBit(Command::Verify);
// The commands that take target settings (the set options, --settings).
inline constexpr unsigned kSettingsCommands =
    CommandBit(Command::Set) | CommandBit(Command::Provision) | CommandBit(Command::Verify);
inline constexpr unsigned kAllCommands =
    kModuleCommands | CommandBit(Command::Ports) | CommandBit(Command::Provision);

// The command's name on the command line ("info"); empty for None.
std::string_view CommandName(Command command);
// The command called `name`, or None.
Command CommandNamed(std::string_view name);

}  // namespace tarnel::ctl
