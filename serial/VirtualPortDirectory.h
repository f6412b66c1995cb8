#pragma once

#include <filesystem>

// The directory where pseudo-terminals publish themselves as serial ports by a
// symbolic link: $XDG_RUNTIME_DIR/tarnel-ports, or /tmp/tarnel-ports-UID when
// XDG_RUNTIME_DIR is unset or empty. Only computes the path; it may not exist.
std::filesystem::path VirtualPortDirectory();
