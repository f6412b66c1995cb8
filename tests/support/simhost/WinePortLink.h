#pragma once

#include <filesystem>
#include <string>
#include <system_error>

namespace tarnel::test {

// A COM port of a Wine prefix standing for a Unix device: the link comN in
// the prefix's dosdevices folder, with the first free N from 20 on, so that
// a Windows program opens the device as "COMN". The link goes with the
// object.
class WinePortLink {
public:
    WinePortLink() = default;
    ~WinePortLink();  // Remove()
    WinePortLink(const WinePortLink&) = delete;
    WinePortLink& operator=(const WinePortLink&) = delete;

    // Links a free port to `device`; `directory` is the dosdevices folder.
    std::error_code Create(const std::filesystem::path& directory, const std::string& device);
    // Removes the link; nothing when there is none.
    void Remove();
    // "COM20" and so on; empty before Create and after Remove.
    const std::string& PortName() const { return m_portName; }

private:
    std::filesystem::path m_link;
    std::string m_portName;
};

}  // namespace tarnel::test
