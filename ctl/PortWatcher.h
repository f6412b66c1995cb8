#pragma once

#include <functional>
#include <string>
#include <vector>

namespace tarnel::ctl {

// Tells which ports appeared since it started, for a production line that
// must touch only the adapters plugged in (or simulators published) after it
// began, never a port that was already there.
class PortWatcher {
public:
    // A listed port and what it is beyond its name (PortIdentity): a name
    // can come to stand for another device.
    struct Port {
        std::string name;
        std::string identity;
    };
    using Lister = std::function<std::vector<Port>()>;

    // Takes the ports listed now as the ones already there.
    explicit PortWatcher(Lister lister);

    // Lists the ports again and returns those that were not listed by the
    // previous look, or were listed as another device, in list order. A port
    // that was there at the start is never returned while it stays the same
    // device; one that goes away and comes back (an adapter plugged in again)
    // is returned again.
    std::vector<std::string> Poll();

private:
    Lister m_lister;
    std::vector<Port> m_previous;
};

}  // namespace tarnel::ctl
