#include "ctl/ProbeOrder.h"

#include <algorithm>

namespace tarnel::ctl {

std::vector<LineSettings> ProbeOrder() {
    std::vector<LineSettings> order{{9600, 'N', 1}, {115200, 'N', 1}};
    const auto add = [&order](const LineSettings& line) {
        if (std::find(order.begin(), order.end(), line) == order.end()) order.push_back(line);
    };
    for (const uint32_t baud : OFFERED_BAUD_RATES)
        add({baud, 'N', 1});
    for (const uint32_t baud : OFFERED_BAUD_RATES)
        for (const char parity : OFFERED_PARITIES)
            for (const uint8_t stopBits : OFFERED_STOP_BITS)
                add({baud, parity, stopBits});
    return order;
}

}  // namespace tarnel::ctl
