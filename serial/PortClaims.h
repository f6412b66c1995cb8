#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <filesystem>
#include <string>
#include <system_error>

// What tells, on Linux, that a port is not this program's to open: another
// program's claim on it, or that it is not the port its name stood for.

// Where those claims are found; tests point them at trees of their own.
struct PortSystemPaths {
    std::filesystem::path sysfsRoot = "/sys";
    // UUCP lock files, LCK..NAME, as minicom, CuteCom, screen and others
    // write them.
    std::filesystem::path lockDir = "/var/lock";
};

// Pseudo-terminal slaves (devpts) have these majors and no entry in sysfs.
bool IsPseudoTerminal(dev_t device);

// A link to a terminal (its own lstat `linkInfo`, the stat of what it names
// `target`) is stale when its companion lock exists but no publisher holds it,
// or when it names a pseudo-terminal whose change time is newer than the
// link's: that terminal was made after the link, so its number was reused by
// someone else.
bool IsStaleLink(const std::filesystem::path& link, const struct stat& linkInfo, const struct stat& target);

// The checks that go by name, before the port is opened: a stale link, the
// active kernel console, a UUCP lock file of a live process (under the name
// given and under the device's own name). `target` receives the stat of the
// device the name leads to, so that the opened descriptor can be held to it.
// The empty code when none applies; a PortRefusal, PortHeldByProcess, or the
// system's error when the name leads nowhere.
std::error_code CheckPortClaims(const std::string& name, const PortSystemPaths& paths, struct stat& target);
