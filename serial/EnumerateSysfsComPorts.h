#pragma once

#include <sys/types.h>
#include <filesystem>

#include <string>
#include <system_error>
#include <vector>

// The Linux port list: first the kernel's serial devices as /dev/NAME in the
// kernel's directory order (no virtual consoles; legacy ttyS ports only when
// their UART type is known), then every symbolic link of the virtual port
// directory that points to a terminal device and is not stale (IsStaleLink),
// by its link path. The active kernel consoles are never listed. A name or a
// device that is already listed is not listed again (the first occurrence
// stays). `ports` is emptied first.
// Returns the empty code on success, also when there is no port at all or a
// source does not exist. When a source exists but cannot be read, the ports of
// the other source are still listed and that error is returned.
// EnumerateComPorts on Linux is this with /sys and VirtualPortDirectory().
std::error_code EnumerateSysfsComPorts(std::vector<std::string>& ports,
                                       const std::filesystem::path& sysfsRoot,
                                       const std::filesystem::path& virtualPortDir);

// The devices of the active kernel consoles, which sysfs lists by name in
// class/tty/console/active (for example "tty0 ttyS0").
std::vector<dev_t> ConsoleDevices(const std::filesystem::path& sysfsRoot);
