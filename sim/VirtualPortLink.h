#pragma once

#include <filesystem>
#include <string>
#include <system_error>

namespace tarnel::sim {

// Links `name` in the virtual port directory to `device` (creating the
// directory, private to the user, when missing) and sets `path` to the link.
// `lockFd` receives the descriptor that holds the link's companion lock
// (VirtualPortLockPath): keep it open while the link is live and hand it to
// RemovePortLink. A name whose lock another publisher holds, or a link of that
// name to a live device without a companion (a user's), gives
// std::errc::file_exists; a link left by a publisher that died, or one to a
// missing device, is replaced. A name with a slash, or "." or "..", gives
// std::errc::invalid_argument.
std::error_code PublishPortLink(const std::string& device, const std::string& name,
                                std::filesystem::path& path, int& lockFd);

// Removes `link` if it still points at `device` (a user may have replaced it),
// then its companion, and closes `lockFd`, which ends the lock.
void RemovePortLink(const std::filesystem::path& link, const std::string& device, int& lockFd);

}  // namespace tarnel::sim
