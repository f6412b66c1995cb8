#pragma once

#include <filesystem>

// The directory where pseudo-terminals publish themselves as serial ports by a
// symbolic link: $XDG_RUNTIME_DIR/tarnel-ports, or /tmp/tarnel-ports-UID when
// XDG_RUNTIME_DIR is unset or empty. Only computes the path; it may not exist.
std::filesystem::path VirtualPortDirectory();

// The companion file beside a published link ("NAME.lock"). Its publisher holds
// an exclusive flock on it for as long as it serves, so a link whose companion
// exists unlocked was left behind by a publisher that died: the pseudo-terminal
// it names may since have gone to another program. A link without a companion
// is one a user made (for example to socat's pseudo-terminal).
std::filesystem::path VirtualPortLockPath(const std::filesystem::path& link);
