#include "ctl/PortWatcher.h"

#include <algorithm>

namespace tarnel::ctl {

PortWatcher::PortWatcher(Lister lister) : m_lister(std::move(lister)), m_previous(m_lister()) {
    for (const Port& port : m_previous)
        m_there.push_back(port.identity);
}

std::vector<PortWatcher::Port> PortWatcher::Poll() {
    std::vector<Port> current = m_lister();
    std::vector<Port> appeared;
    for (const Port& port : current) {
        const bool seen = std::any_of(m_previous.begin(), m_previous.end(), [&](const Port& before) {
            return before.name == port.name && before.instance == port.instance;
        });
        const bool there = std::find(m_there.begin(), m_there.end(), port.identity) != m_there.end();
        if (!seen && !there) appeared.push_back(port);
    }
    m_previous = std::move(current);
    return appeared;
}

}  // namespace tarnel::ctl
