// Modules configured and verified per minute by tarnelctl's production line
// (check, read, write, reset, read back) against simulated modules whose
// output is paced at 9600 baud: on one station, then on four stations at
// once, as provision --watch runs them, each port on its own thread. The
// ratio printed last is the four stations' rate over one's: the stations
// share the line's bookkeeping and the engines' executor, and nothing else
// should slow them.

#include <atomic>
#include <chrono>
#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "ctl/CtlArgs.h"
#include "ctl/ProductionLine.h"
#include "sim/PtyModule.h"

namespace {

using namespace tarnel::ctl;
using Clock = std::chrono::steady_clock;
using Seconds = std::chrono::duration<double>;

constexpr int kModulesPerStation = 6;

CtlArgs LineArgs() {
    CtlArgs args = ParseCtlArgs({"provision", "--watch", "--name", "Bench-{n}", "--mode", "1"});
    if (!args.error.empty()) std::fprintf(stderr, "%s\n", args.error.c_str());
    return args;
}

// One station: a module after another, each a new simulator, as modules
// plugged in one after the other. False when one did not pass.
bool Station(ProductionLine& line, int station) {
    for (int i = 0; i < kModulesPerStation; ++i) {
        tarnel::sim::SimConfig config;
        config.address[4] = static_cast<uint8_t>(station);
        config.address[5] = static_cast<uint8_t>(i);
        config.paceOutput = true;
        tarnel::sim::PtyModule sim(config);
        if (std::error_code e = sim.Start()) {
            std::fprintf(stderr, "simulator: %s\n", e.message().c_str());
            return false;
        }
        if (line.Provision(sim.SlavePath(), std::chrono::milliseconds(0)) != ProductionLine::Outcome::Done)
            return false;
    }
    return true;
}

// The modules a minute of `stations` stations at once; 0 when one failed.
double Rate(int stations) {
    const CtlArgs args = LineArgs();
    std::istringstream in;
    std::ostringstream out, err;
    const CtlStreams io{in, out, err};
    ProductionLine line(args, io);
    std::atomic<int> failed{0};
    const auto start = Clock::now();
    std::vector<std::thread> threads;
    threads.reserve(static_cast<std::size_t>(stations));
    for (int s = 0; s < stations; ++s)
        threads.emplace_back([&, s] {
            if (!Station(line, s)) ++failed;
        });
    for (std::thread& thread : threads)
        thread.join();
    const Seconds took = Clock::now() - start;
    const int modules = stations * kModulesPerStation;
    std::printf("%d station(s): modules %d  time %.2f s  per minute %.1f\n", stations, modules, took.count(),
                modules * 60.0 / took.count());
    if (failed == 0 && line.ExitStatus() == 0) return modules * 60.0 / took.count();
    std::fprintf(stderr, "%s%s", out.str().c_str(), err.str().c_str());
    return 0;
}

}  // namespace

int main() {
    const double one = Rate(1);
    const double four = one > 0 ? Rate(4) : 0;
    if (four <= 0) return 1;
    std::printf("ratio %.2f\n", four / one);
    return 0;
}
