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
    struct Port {
        std::string name;
        // What the port is wherever it is plugged (StablePortIdentity).
        std::string identity;
        // What the name stands for now (PortIdentity): a name can come to
        // stand for another device.
        std::string instance;
    };
    using Lister = std::function<std::vector<Port>()>;

    // Takes the ports listed now as the ones already there, by identity, for
    // the whole run.
    explicit PortWatcher(Lister lister);

    // Lists the ports again and returns those that were not listed by the
    // previous look, or were listed as another device, in list order. A port
    // whose identity was listed at the start is never returned, also when it
    // goes and comes back or comes back under another name; any other port
    // that goes away and comes back (a module plugged in again) is returned
    // again.
    std::vector<Port> Poll();

private:
    Lister m_lister;
    std::vector<std::string> m_there;  // the identities listed at the start
    std::vector<Port> m_previous;
};

}  // namespace tarnel::ctl
