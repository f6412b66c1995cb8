#include "tests/support/simhost/WinePortLink.h"

namespace tarnel::test {
namespace {

constexpr int kFirstPort = 20;
// Far more than the modules one test run serves at once.
constexpr int kLastPort = 256;

}  // namespace

WinePortLink::~WinePortLink() {
    Remove();
}

void WinePortLink::Remove() {
    std::error_code ignored;
    if (!m_link.empty()) std::filesystem::remove(m_link, ignored);
    m_link.clear();
    m_portName.clear();
}

// Creating the link is what claims a number, so two hosts on one prefix
// never share a port.
std::error_code WinePortLink::Create(const std::filesystem::path& directory, const std::string& device) {
    for (int port = kFirstPort; port <= kLastPort; ++port) {
        const std::filesystem::path link = directory / ("com" + std::to_string(port));
        std::error_code ec;
        std::filesystem::create_symlink(device, link, ec);
        if (ec == std::errc::file_exists) continue;
        if (ec) return ec;
        m_link = link;
        m_portName = "COM" + std::to_string(port);
        return {};
    }
    return std::make_error_code(std::errc::device_or_resource_busy);
}

}  // namespace tarnel::test
