#include "ctl/PortWatcher.h"

#include <algorithm>

namespace tarnel::ctl {

PortWatcher::PortWatcher(Lister lister) : m_lister(std::move(lister)), m_previous(m_lister()) {}

std::vector<std::string> PortWatcher::Poll() {
    std::vector<Port> current = m_lister();
    std::vector<std::string> appeared;
    for (const Port& port : current) {
        const bool seen = std::any_of(m_previous.begin(), m_previous.end(), [&](const Port& before) {
            return before.name == port.name && before.identity == port.identity;
        });
        if (!seen) appeared.push_back(port.name);
    }
    m_previous = std::move(current);
    return appeared;
}

}  // namespace tarnel::ctl
