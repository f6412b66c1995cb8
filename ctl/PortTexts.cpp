#include "ctl/PortTexts.h"

#include "serial/EnumerateComPorts.h"

namespace tarnel::ctl {

std::error_code EnumeratePortTexts(std::vector<std::string>& ports) {
    std::vector<PortName> names;
    const std::error_code error = EnumerateComPorts(names);
    ports.clear();
    for (const PortName& name : names)
        ports.push_back(name.ToUtf8());
    return error;
}

}  // namespace tarnel::ctl
