#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ctl/Command.h"
#include "ctl/LineSettings.h"
#include "ctl/NamePattern.h"
#include "protocol/BdAddr.h"

namespace tarnel::ctl {

// The settings of set and provision; what is not given keeps the module's
// current value.
struct ModuleSettings {
    std::optional<std::string> name;  // set only; provision has namePattern
    std::optional<UartSettings> uart;
    std::optional<uint8_t> opMode;  // 0 to 3
    std::optional<BdAddr> target;   // never an unset (all-zero or all-0xFF) address
    std::optional<bool> responses;  // command responses on

    bool Empty() const { return !name && !uart && !opMode && !target && !responses; }
};

// What tarnelctl's command line asks for.
struct CtlArgs {
    Command command = Command::None;
    bool help = false;     // --help: print the manual (with a command: its part) and exit 0
    bool version = false;  // --version, -V
    bool json = false;
    bool trace = false;  // --trace: the bytes on the port, on standard error
    std::string port;    // the PORT of info, set, reset, search, find; --port of provision
    bool watch = false;
    LineSettings line;      // --line; the module's factory 9600,N,1 by default
    bool lineAuto = false;  // --line auto
    bool yes = false;
    bool verifyOnly = false;    // provision --verify-only: read and compare, write nothing
    bool dryRun = false;        // set, provision: print the write's commands, send none
    bool progressJson = false;  // --progress json: the steps as JSON lines on standard error
    unsigned seconds = 0;       // --seconds; 0: until the module ends the inquiry
    ModuleSettings settings;
    std::optional<NamePattern> namePattern;
    uint64_t first = 1;
    // --ports: provision --watch probes only new ports that match one of these.
    std::vector<std::string> portGlobs;
    std::string reportPath;  // --report: provision's record of every module
    std::string statePath;   // --state: provision's numbers, kept across runs
    // --settings: the file the settings not given as options come from, and
    // its SHA-256.
    std::string settingsPath;
    std::string settingsSha256;
    std::string error;  // not empty: the command line is wrong, and why
};

// Reads the arguments after the program name. On a mistake `error` says what
// is wrong, in the words the configurator uses where it has them, and the
// other fields are not to be used. --help and --version anywhere before "--"
// win over everything else.
CtlArgs ParseCtlArgs(const std::vector<std::string>& args);

}  // namespace tarnel::ctl
