#include "ctl/Usage.h"

#include <vector>

#include "ctl/OptionTable.h"
#include "ctl/PlatformHelp.h"

namespace tarnel::ctl {
namespace {

constexpr std::size_t kOptionColumn = 20;

struct CommandHelp {
    Command command;
    std::string synopsis;  // lines after the command's name
    std::string description;
};

const std::vector<CommandHelp>& CommandHelps() {
    static const std::vector<CommandHelp> helps{
        {Command::Ports, "", PORTS_HELP},
        {Command::Info, "PORT",
         "Checks the module (switching its command responses back on when they are\n"
         "off, and saying so) and reads its model, firmware version, address,\n"
         "name, operation mode, state, UART settings, flow control, command\n"
         "responses and connection target. A connected module is read as it is."},
        {Command::Set,
         "PORT [--name TEXT] [--uart B,P,S[,FLOW]] [--mode 0-3] [--target ADDRESS]\n"
         "[--responses on|off] [--dry-run]",
         "Writes what is given (the rest keeps the module's current value, command\n"
         "responses included: a module found with them off has them on only while\n"
         "tarnelctl works with it), resets the module so that it takes effect,\n"
         "opens the port again at the module's new UART settings, reads everything\n"
         "back and says whether every value took."},
        {Command::Reset, "PORT [--yes]",
         "Resets the module to its factory settings, then reads it back. Asks for\n"
         "confirmation on a terminal; without a terminal it needs --yes."},
        {Command::Search, "PORT [--seconds N]",
         "Lets the module search for nearby Bluetooth devices and lists each device\n"
         "once as it is found (address, name, RSSI, class of device), until the\n"
         "module ends the search, N seconds pass, or Ctrl+C."},
        {Command::Find, "PORT",
         "Tries every baud rate, parity and stop bit setting the program offers,\n"
         "most likely first (9600,N,1, then 115200,N,1, then the rest), with a\n"
         "short probe (the escape to command mode that a connected module needs,\n"
         "and a query that a module with command responses off answers too), and\n"
         "prints the one at which the module answers. Every setting is first tried\n"
         "with a quick probe (at most 100 ms), then, when no module answered,\n"
         "once more with the full probe time."},
        {Command::Provision,
         "[set options] [--name PATTERN] [--first N] [--verify-only | --dry-run]\n"
         "(--port PORT | --watch [--ports GLOB]...)",
         "A production line: configures and verifies a module on PORT, or with\n"
         "--watch each module on a port that appears after it starts (an adapter\n"
         "plugged in), every new port on its own at the same time, so that a slow\n"
         "or silent one delays no other, one result line each (address, name\n"
         "given, PASS or FAIL and why, REPEAT, NO MODULE), until Ctrl+C; then a\n"
         "summary. Ports that were there at the start are never touched, also\n"
         "when they go and come back. A new port where no module answers within\n"
         "10 s is reported once as NO MODULE (not a failed module) and left alone\n"
         "until it goes and comes back. A module that passed and is plugged in\n"
         "again is reported as REPEAT and left alone; one that failed is tried\n"
         "again under its number, and counts as passed once it passes. A module is\n"
         "looked for at --line and at the --uart it is given, so one configured\n"
         "before is found too. A name pattern that outgrows 32 bytes (at a number\n"
         "with more digits) fails that module without writing to it and ends the\n"
         "line."},
        {Command::Verify, "PORT [--settings FILE] [set options]",
         "Reads the module (switching its command responses on only while it\n"
         "reads, as info does) and says which of the given settings it does not\n"
         "hold, the module's value beside the target's; writes nothing. Exit\n"
         "status 0 when it holds every one, 1 when some differ."},
    };
    return helps;
}

// Every line of `text` after the first begins with `indent`.
std::string Indented(std::string_view text, const std::string& indent) {
    std::string out;
    for (const char c : text) {
        out.push_back(c);
        if (c == '\n') out += indent;
    }
    return out;
}

std::string OptionLines(const OptionEntry& entry) {
    std::string heading = entry.shortName != '\0' ? std::string("  -") + entry.shortName + ", " : "      ";
    heading += entry.name;
    if (!entry.value.empty()) heading.append(" ").append(entry.value);
    const std::string indent(kOptionColumn, ' ');
    heading = heading.size() + 2 <= kOptionColumn ? heading + std::string(kOptionColumn - heading.size(), ' ')
                                                  : heading + "\n" + indent;
    return heading + Indented(entry.help, indent) + "\n";
}

std::string Synopsis(const CommandHelp& help, const std::string& lead) {
    const std::string head = lead + std::string(CommandName(help.command));
    if (help.synopsis.empty()) return head + "\n";
    return head + " " + Indented(help.synopsis, std::string(head.size() + 1, ' ')) + "\n";
}

const CommandHelp& HelpOf(Command command) {
    for (const CommandHelp& help : CommandHelps())
        if (help.command == command) return help;
    return CommandHelps().front();
}

void ReplaceAll(std::string& text, const std::string& marker, const std::string& by) {
    for (std::size_t at = text.find(marker); at != std::string::npos; at = text.find(marker, at + by.size()))
        text.replace(at, marker.size(), by);
}

}  // namespace

std::string UsageText() {
    std::string commands;
    for (const CommandHelp& help : CommandHelps())
        commands += Synopsis(help, "  ") + "      " + Indented(help.description, "      ") + "\n";
    std::string options;
    for (const OptionEntry& entry : OptionEntries())
        options += OptionLines(entry);
    std::string text = std::string(R"(Usage: tarnelctl COMMAND [OPTIONS] [--] [PORT]
       tarnelctl COMMAND --help

Configures and tests Tarnel Bluetooth serial modules from the command line, with
the same command sequences and checks as Tarnel Manager's configurator.

Commands:
)") + commands + R"(
set, reset, search and provision end a connected module's Bluetooth link
first, as Tarnel Manager does, and say so; info, verify, --dry-run and
--verify-only leave it connected.

Options (the short form takes its value as the next argument or joined to
it, -n Sensor or -nSensor; flags group, -jv; -- ends the options):
)" + options + R"(
Results go to standard output, messages to standard error. Slow steps show a
progress line when standard error is a terminal. The configurator's messages
are in Korean when the locale's first language is Korean (LANGUAGE, LC_ALL,
LC_MESSAGES, LANG).

Ctrl+C ends any command at its next step: the step it came in is finished
(set and provision still reset a module they wrote to, so that none is left
half written, but do not read it back), a search is stopped on the module or
not started, the port is closed, a message says what was done, and the exit
status is 130. provision --watch ends with Ctrl+C as its normal end: its
status is then the modules' (0 or 1), and 130 only when Ctrl+C cut a module's
configuration short. When standard output can no longer be written (its
reader went away, as with | head), the command stops in the same way, with
status 141.

Exit status:
  0   done (provision: every module passed, at its last try; a port where no
      module answered is not a failed module)
  1   the module refused a command, did not answer one after the check, or
      did not take a value; its command responses could not be switched on;
      its Bluetooth link could not be ended; provision: a module failed;
      ports: the port list could not be read completely; reset: the question
      was answered no; verify, provision --verify-only: a setting differs
  2   wrong command line, or reset without --yes and without a terminal
)" + OPEN_FAILED_HELP + R"(
  4   no module answered
  5   provision: the report or the state file could not be opened or
      written, or another tarnelctl uses the state file; the line stopped
  130 interrupted (Ctrl+C)
  141 standard output could not be written (its reader went away)
)" + TERMINATED_HELP + R"(
Environment:
  TARNELCTL_PROBE_MS
      how long a probe of find and --line auto waits for an answer, in
      milliseconds (1 to 10000; default 300)

Examples:
  tarnelctl ports
  tarnelctl info @PORT@ --json
  tarnelctl set @PORT@ --name Sensor-7 --uart 115200,N,1 --mode 0
  tarnelctl find @PORT@
  tarnelctl search @PORT@ --seconds 10 --json
  tarnelctl reset @PORT@ --line auto --yes
  tarnelctl provision --watch --name "Sensor-{n:03}" --uart 115200,N,1
  tarnelctl provision --watch --settings line.toml --report line.csv
)";
    ReplaceAll(text, "@PORT@", EXAMPLE_PORT);
    return text;
}

std::string CommandUsageText(Command command) {
    const CommandHelp& help = HelpOf(command);
    std::string text = Synopsis(help, "Usage: tarnelctl ") + "\n" + help.description + "\n\nOptions:\n";
    for (const OptionEntry& entry : OptionEntries())
        if (entry.commands & CommandBit(command)) text += OptionLines(entry);
    return text + "\n'tarnelctl --help' describes every command, the exit statuses and examples.\n";
}

std::string VersionText() {
    return "tarnelctl (Tarnel Manager) " TARNEL_VERSION "\n";
}

}  // namespace tarnel::ctl
