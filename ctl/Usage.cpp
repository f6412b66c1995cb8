#include "ctl/Usage.h"

#include "ctl/PlatformHelp.h"

namespace tarnel::ctl {
namespace {

void ReplaceAll(std::string& text, const std::string& marker, const std::string& by) {
    for (std::size_t at = text.find(marker); at != std::string::npos; at = text.find(marker, at + by.size()))
        text.replace(at, marker.size(), by);
}

}  // namespace

std::string UsageText() {
    std::string text = std::string(R"(Usage: tarnelctl COMMAND [OPTIONS] [--] [PORT]

Configures and tests Tarnel Bluetooth serial modules from the command line, with
the same command sequences and checks as Tarnel Manager's configurator.

Commands:
  ports
)") + PORTS_HELP + R"(
  info PORT
      Checks the module (switching its command responses back on when they are
      off, and saying so) and reads its model, firmware version, address,
      name, operation mode, state, UART settings, flow control, command
      responses and connection target. A connected module is read as it is.
  set PORT [--name TEXT] [--uart B,P,S[,FLOW]] [--mode 0-3] [--target ADDRESS]
           [--responses on|off]
      Writes what is given (the rest keeps the module's current value, command
      responses included: a module found with them off has them on only while
      tarnelctl works with it), resets the module so that it takes effect,
      opens the port again at the module's new UART settings, reads everything
      back and says whether every value took.
  reset PORT [--yes]
      Resets the module to its factory settings, then reads it back. Asks for
      confirmation on a terminal; without a terminal it needs --yes.
  search PORT [--seconds N]
      Lets the module search for nearby Bluetooth devices and lists each device
      once as it is found (address, name, RSSI, class of device), until the
      module ends the search, N seconds pass, or Ctrl+C.
  find PORT
      Tries every baud rate, parity and stop bit setting the program offers,
      most likely first (9600,N,1, then 115200,N,1, then the rest), with a
      short probe (the escape to command mode that a connected module needs,
      and a query that a module with command responses off answers too), and
      prints the one at which the module answers. Every setting is first tried
      with a quick probe (at most 100 ms), then, when no module answered,
      once more with the full probe time.
  provision [set options] [--name PATTERN] [--first N] (--port PORT | --watch)
      A production line: configures and verifies a module on PORT, or with
      --watch each module on a port that appears after it starts (an adapter
      plugged in), one result line each (address, name given, PASS or FAIL and
      why), until Ctrl+C; then a summary. A module that passed and is plugged
      in again is reported as REPEAT and left alone; one that failed is tried
      again under its number, and counts as passed once it passes. A module is
      looked for at --line and at the --uart it is given, so one configured
      before is found too. A name pattern that outgrows 32 bytes (at a number
      with more digits) fails that module without writing to it and ends the
      line.

set, reset, search and provision end a connected module's Bluetooth link
first, as Tarnel Manager does, and say so; info leaves it connected.

Options (the short form takes its value as the next argument or joined to
it, -n Sensor or -nSensor; -- ends the options):
  -n, --name TEXT   the device name: 1 to 32 bytes of UTF-8, no comma and no
                    control character
  -n, --name PATTERN
                    provision: the name with {n} (the module's number), {n:03}
                    (the number with zeros to 3 digits; 1 to 9 digits) or
                    {addr6} (the last six hexadecimal digits of the module's
                    address); {{ and }} stand for braces
  -f, --first N     provision: the number of the first module (default 1)
  -u, --uart B,P,S[,FLOW]
                    the module's UART: baud rate 9600, 19200, 38400, 57600,
                    115200, 230400 or 460800; parity N, E or O; stop bits 1 or
                    2; hardware flow control on or off, also written 1 or 0 as
                    tarnel-sim takes it (default off)
  -m, --mode 0-3    the operation mode
  -t, --target ADDRESS
                    the connection target: 12 hexadecimal digits (a target
                    once set is cleared only by a factory reset)
  -r, --responses on|off
                    command responses
  -l, --line B,P,S|auto
                    the settings the port is opened with (default 9600,N,1, the
                    module's factory settings); auto finds them as find does
  -s, --seconds N   search: stop after N seconds (1 to 86400)
  -y, --yes         reset: do not ask for confirmation
  -p, --port PORT   provision: the port of the one module to configure
  -w, --watch       provision: configure the modules on new ports, one by one
  -j, --json        print each result as one JSON object per line; a command
                    that the module refused or did not answer as one too
                    (port, command, answer: refused, none or other, why)
  -v, --trace       every byte sent to and received from the module, and every
                    setting a port is opened at, with the seconds since the
                    start, on standard error
  -h, --help        print this text
  -V, --version     print the version

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
  0   done (provision: every module passed, at its last try)
  1   the module refused a command, did not answer one after the check, or
      did not take a value; its command responses could not be switched on;
      its Bluetooth link could not be ended; provision: a module failed;
      ports: the port list could not be read completely; reset: the question
      was answered no
  2   wrong command line, or reset without --yes and without a terminal
)" + OPEN_FAILED_HELP + R"(
  4   no module answered
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
)";
    ReplaceAll(text, "@PORT@", EXAMPLE_PORT);
    return text;
}

std::string VersionText() {
    return "tarnelctl (Tarnel Manager) " TARNEL_VERSION "\n";
}

}  // namespace tarnel::ctl
