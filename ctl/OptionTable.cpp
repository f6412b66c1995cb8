#include "ctl/OptionTable.h"

#include <algorithm>

namespace tarnel::ctl {
namespace {

// find tries every framing itself.
constexpr unsigned kLineCommands = kAllCommands & ~CommandBit(Command::Ports) & ~CommandBit(Command::Find);

}  // namespace

// The short forms are those of the serial tools where they mean the same
// (-l line, -v verbose, -y yes); -V is the version.
const std::vector<OptionEntry>& OptionEntries() {
    static const std::vector<OptionEntry> entries{
        {"--name", 'n', "TEXT", CommandBit(Command::Set) | CommandBit(Command::Verify), false,
         "the device name: 1 to 32 bytes of UTF-8, no comma and no\ncontrol character"},
        {"--name", 'n', "PATTERN", CommandBit(Command::Provision), false,
         "provision: the name with {n} (the module's number), {n:03}\n"
         "(the number with zeros to 3 digits; 1 to 9 digits) or\n"
         "{addr6} (the last six hexadecimal digits of the module's\n"
         "address); {{ and }} stand for braces"},
        {"--settings", '\0', "FILE", kSettingsCommands, false,
         "the settings from a TOML file, or JSON when FILE ends in\n"
         ".json: the fields name, uart, mode, target, responses and\n"
         "(provision) first, with the values of the options of those\n"
         "names; an option given as well wins. Every field is checked\n"
         "before a module is touched; a record names FILE and its\n"
         "SHA-256"},
        {"--first", 'f', "N", CommandBit(Command::Provision), false,
         "provision: the number of the first module (default 1)"},
        {"--uart", 'u', "B,P,S[,FLOW]", kSettingsCommands, false,
         "the module's UART: baud rate 9600, 19200, 38400, 57600,\n"
         "115200, 230400 or 460800; parity N, E or O; stop bits 1 or\n"
         "2; hardware flow control on or off, also written 1 or 0 as\n"
         "tarnel-sim takes it (default off)"},
        {"--mode", 'm', "0-3", kSettingsCommands, false, "the operation mode"},
        {"--target", 't', "ADDRESS", kSettingsCommands, false,
         "the connection target: 12 hexadecimal digits (a target\nonce set is cleared only by a factory "
         "reset)"},
        {"--responses", 'r', "on|off", kSettingsCommands, false, "command responses"},
        {"--line", 'l', "B,P,S|auto", kLineCommands, false,
         "the settings the port is opened with (default 9600,N,1, the\n"
         "module's factory settings); auto finds them as find does"},
        {"--seconds", 's', "N", CommandBit(Command::Search), false,
         "search: stop after N seconds (1 to 86400)"},
        {"--yes", 'y', "", CommandBit(Command::Reset), false, "reset: do not ask for confirmation"},
        {"--port", 'p', "PORT", CommandBit(Command::Provision), false,
         "provision: the port of the one module to configure"},
        {"--watch", 'w', "", CommandBit(Command::Provision), false,
         "provision: configure the modules on new ports, each port\non its own, at the same time"},
        {"--ports", '\0', "GLOB", CommandBit(Command::Provision), true,
         "provision --watch: probe only the new ports whose name or\n"
         "stable identity (by-id path, USB serial number, a link's\n"
         "name) matches GLOB (* ? [...]); may be given again; the\n"
         "other new ports are never opened"},
        {"--verify-only", '\0', "", CommandBit(Command::Provision), false,
         "provision: read each module and say which settings differ\n"
         "from the target (SAME or DIFFERENT), writing nothing; no\n"
         "number is given out. Exit status 0 when every module held\n"
         "the target, 1 when one did not"},
        {"--dry-run", '\0', "", CommandBit(Command::Set) | CommandBit(Command::Provision), false,
         "set, provision: read the module and print the commands that\n"
         "the write would send, in order, sending none of them"},
        {"--report", '\0', "FILE", CommandBit(Command::Provision), false,
         "provision: append a record of every module to FILE as it is\n"
         "done, on the disk before the line goes on (time, station,\n"
         "port and its identity, address, model, firmware, settings\n"
         "written and read back, result, duration): JSON Lines, or CSV\n"
         "with a header line when FILE ends in .csv. A record that\n"
         "cannot be written stops the line (exit status 5)"},
        {"--state", '\0', "FILE", CommandBit(Command::Provision), false,
         "provision: keep the next number and the modules numbered\n"
         "in FILE (default: the report's name and .state), written\n"
         "whole after every module, so that a line started again goes\n"
         "on without giving a name twice; a second tarnelctl on the\n"
         "same FILE refuses to start (exit status 5)"},
        {"--json", 'j', "", kAllCommands, false,
         "print each result as one JSON object per line; a failure\ntoo: "
         "{\"port\",\"result\":\"FAIL\",\"reason\",\"status\"}, and\n"
         "when the module's answer decided it, \"command\" and\n"
         "\"answer\" (refused, none or other)"},
        {"--trace", 'v', "", kAllCommands, false,
         "every byte sent to and received from the module, and every\n"
         "setting a port is opened at, with the seconds since the\n"
         "start, on standard error"},
        {"--progress", '\0', "line|json", kAllCommands, false,
         "line: a progress line on a terminal (the default); json: the\n"
         "steps (probing, reading, ending-link, writing, resetting,\n"
         "verifying) as JSON lines on standard error, with the time\n"
         "and the port, for a program that watches the line"},
        {"--help", 'h', "", kAllCommands, false, "print this text (after a command: that command's)"},
        {"--version", 'V', "", kAllCommands, false, "print the version"},
    };
    return entries;
}

const OptionEntry* FindOption(std::string_view name) {
    const auto& entries = OptionEntries();
    const auto it = std::find_if(entries.begin(), entries.end(), [&](const OptionEntry& entry) {
        return entry.name == name ||
               (name.size() == 2 && name[0] == '-' && entry.shortName != '\0' && name[1] == entry.shortName);
    });
    return it == entries.end() ? nullptr : &*it;
}

bool TakesOption(Command command, std::string_view name) {
    const auto& entries = OptionEntries();
    return std::any_of(entries.begin(), entries.end(), [&](const OptionEntry& entry) {
        return entry.name == name && (entry.commands & CommandBit(command));
    });
}

}  // namespace tarnel::ctl
