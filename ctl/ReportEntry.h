#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "ctl/LineSettings.h"
#include "ctl/Record.h"
#include "module/ModuleReading.h"
#include "module/ModuleWrite.h"

namespace tarnel::ctl {

// What a production line knows of one module when it is done with it: its
// result line and its record in the report.
struct ReportEntry {
    std::chrono::system_clock::time_point start = std::chrono::system_clock::now();
    std::chrono::steady_clock::time_point startSteady = std::chrono::steady_clock::now();
    std::string host;
    std::string port;
    std::string portIdentity;  // StablePortIdentity
    std::string result;        // PASS, FAIL, REPEAT, NO MODULE
    std::string why;           // what failed, or why the module was left alone
    std::string address;
    std::string name;  // the name given, or the module's own when none was
    std::string model;
    std::optional<ModuleWrite> written;
    // As read back after the write, or as found when nothing was written.
    std::optional<ModuleReading> read;
    LineSettings line;         // the framing `read` was read at
    std::string settingsPath;  // --settings, and its SHA-256
    std::string settingsSha256;
};

// The entry as the report's record: the same fields every time, empty when
// not known, so that a CSV report's columns stay the same.
Record ReportRecord(const ReportEntry& entry);

}  // namespace tarnel::ctl
