// Modules configured and verified per minute by tarnelctl's production line
// steps (check, read, write, reset, read back) against simulated modules
// whose output is paced at 9600 baud, beside the time the same commands and
// replies take on a 9600-baud line. The ratio says how much of a module's
// time goes to waiting rather than to the line itself. The simulator paces
// only what it sends: the host's commands take no line time on the
// pseudo-terminal, so the ratio is a floor that a real line would raise.

#include <atomic>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <string>

#include "ctl/ExitStatus.h"
#include "ctl/ModulePort.h"
#include "ctl/ModuleSession.h"
#include "ctl/ProgressLine.h"
#include "ctl/SettingsMerge.h"
#include "sim/PtyModule.h"

namespace {

using namespace tarnel::ctl;
using Clock = std::chrono::steady_clock;
using Seconds = std::chrono::duration<double>;

constexpr int kModules = 8;
constexpr double kBaud = 9600;
constexpr double kBitsPerByte = 10.0;  // 8N1: start, 8 data, stop

// Configures the module on `path` as `provision --name Bench-N --mode 1`
// does; false when it did not pass.
bool Provision(const std::string& path, int number, std::atomic<std::size_t>& bytes) {
    ModulePort port(path);
    port.Comm().m_onReceive = [&bytes](const TarnelComm*, const std::vector<uint8_t>& data) {
        bytes += data.size();
    };
    port.Comm().m_onSend = [&bytes](const TarnelComm*, std::vector<char>& data) { bytes += data.size(); };
    ProgressLine progress(std::cerr, false);
    ModuleSession session(port, std::cerr, progress);
    if (port.Open(LineSettings{}) || session.Check() != EXIT_DONE || session.Read() != EXIT_DONE)
        return false;
    ModuleSettings given;
    given.name = "Bench-" + std::to_string(number);
    given.opMode = 1;
    return session.ApplyAndVerify(MergeSettings(session.Reading(), port.Line(), given)) == EXIT_DONE;
}

}  // namespace

int main() {
    std::atomic<std::size_t> bytes{0};
    Seconds total{0};
    for (int i = 1; i <= kModules; ++i) {
        tarnel::sim::SimConfig config;
        config.address[5] = static_cast<uint8_t>(i);
        config.paceOutput = true;
        tarnel::sim::PtyModule sim(config);
        if (std::error_code e = sim.Start()) {
            std::fprintf(stderr, "simulator: %s\n", e.message().c_str());
            return 1;
        }
        const auto start = Clock::now();
        if (!Provision(sim.SlavePath(), i, bytes)) {
            std::fprintf(stderr, "module %d did not pass\n", i);
            return 1;
        }
        total += Clock::now() - start;
    }
    const double lineSeconds = static_cast<double>(bytes) * kBitsPerByte / kBaud;
    std::printf("modules %d  time %.2f s  line %.2f s (%zu bytes)\n", kModules, total.count(), lineSeconds,
                bytes.load());
    std::printf("per minute %.1f  on the line alone %.1f\n", kModules * 60.0 / total.count(),
                kModules * 60.0 / lineSeconds);
    std::printf("ratio %.2f\n", total.count() / lineSeconds);
    return 0;
}
