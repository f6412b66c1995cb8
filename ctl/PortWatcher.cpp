#include "ctl/PortWatcher.h"

#include <algorithm>

namespace tarnel::ctl {

PortWatcher::PortWatcher(Lister lister) : m_lister(std::move(lister)), m_previous(m_lister()) {}

std::vector<std::string> PortWatcher::Poll() {
    std::vector<std::string> current = m_lister();
    std::vector<std::string> appeared;
    for (const std::string& port : current)
        if (std::find(m_previous.begin(), m_previous.end(), port) == m_previous.end())
            appeared.push_back(port);
    m_previous = std::move(current);
    return appeared;
}

}  // namespace tarnel::ctl
