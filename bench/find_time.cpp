// How long `tarnelctl find` takes to find a module, at the default probe
// time, against simulated modules whose output is paced at their UART's byte
// rate: best (9600,N,1, tried first), typical (the middle of the order) and
// worst (460800,O,2, tried last). The ratio is the worst case against the
// 5 s a production line can wait for it.

#include <chrono>
#include <cstdio>
#include <iostream>
#include <string>

#include "ctl/ModulePort.h"
#include "ctl/OpenModulePort.h"
#include "ctl/ProbeOrder.h"
#include "ctl/ProgressLine.h"
#include "sim/PtyModule.h"

namespace {

using namespace tarnel::ctl;
using Clock = std::chrono::steady_clock;
using Seconds = std::chrono::duration<double>;

constexpr double kTargetSeconds = 5.0;

// The seconds find took on a module at `line`; negative when it found none
// or another framing.
double TimeFind(const LineSettings& line) {
    tarnel::sim::SimConfig config;
    config.paceOutput = true;
    config.settings.uart.line = {line.baud, line.parity, line.stopBits};
    tarnel::sim::PtyModule sim(config);
    if (std::error_code e = sim.Start()) {
        std::fprintf(stderr, "simulator: %s\n", e.message().c_str());
        return -1;
    }
    ModulePort port(sim.SlavePath());
    ProgressLine progress(std::cerr, false);
    bool found = false;
    const auto start = Clock::now();
    const std::error_code error = port.Find(ProbeTimeoutMs(), progress, found);
    const Seconds took = Clock::now() - start;
    if (error || !found || !(port.Line() == line)) {
        std::fprintf(stderr, "%s: not found (%s)\n", FormatLineSettings(line).c_str(),
                     error.message().c_str());
        return -1;
    }
    return took.count();
}

}  // namespace

int main() {
    const auto order = ProbeOrder();
    const struct {
        const char* name;
        LineSettings line;
    } cases[] = {{"best", order.front()}, {"typical", order[order.size() / 2]}, {"worst", order.back()}};
    double worst = 0;
    for (const auto& c : cases) {
        const double seconds = TimeFind(c.line);
        if (seconds < 0) return 1;
        std::printf("%-8s %-12s %.2f s\n", c.name, FormatLineSettings(c.line).c_str(), seconds);
        worst = seconds;
    }
    std::printf("probe %u ms, %zu framings, target %.1f s\n", ProbeTimeoutMs(), order.size(), kTargetSeconds);
    std::printf("ratio %.2f\n", worst / kTargetSeconds);
    return 0;
}
