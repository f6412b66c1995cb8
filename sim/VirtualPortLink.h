#pragma once

#include <filesystem>
#include <string>
#include <system_error>

namespace tarnel::sim {

// Links `name` in the virtual port directory to `device` (creating the
// directory, private to the user, when missing) and sets `path` to the link.
// A link of that name to a missing device is stale and replaced; anything
// else of that name gives std::errc::file_exists. A name with a slash, or
// "." or "..", gives std::errc::invalid_argument.
std::error_code PublishPortLink(const std::string& device, const std::string& name,
                                std::filesystem::path& path);

// Removes `link` if it still points at `device` (another simulator may have
// taken the name over since).
void RemovePortLink(const std::filesystem::path& link, const std::string& device);

}  // namespace tarnel::sim
