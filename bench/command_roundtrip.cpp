// Command round trip through the engine against the simulator answering at
// once, beside the time the same bytes take on a 115200-baud line. The engine
// looks for new bytes once per 10 ms wait slice, so a command is expected to
// cost its line time plus at most about one slice.
//
// Then the check and read of an opening against a module paced at its UART's
// byte rate, one that sends OK after a query's data line and one that does
// not, at 9600 and 115200 baud: the first opening of the port, and the
// openings after it (as after Apply), which know what the first one learnt.
// The first opening of a module without OK is to take at most twice a prompt
// module's.

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "protocol/TarnelComm.h"
#include "sim/PtyModule.h"

namespace {

using Clock = std::chrono::steady_clock;
using Ms = std::chrono::duration<double, std::milli>;

constexpr unsigned BAUD = 115200;
constexpr double BITS_PER_BYTE = 10.0;  // 8N1: start, 8 data, stop

struct Bytes {
    std::size_t sent = 0;
    std::size_t received = 0;
};

double Percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(p * static_cast<double>(values.size() - 1) + 0.5);
    return values[index];
}

bool Expect(TarnelComm& comm, const AtCommand& command, int expected) {
    ResultBlock r = comm.SendCommand(command);
    return r && ResultCode(r.get()) == expected;
}

// The commands of the configurator's device check followed by its settings
// read, for a module that answers and is idle.
bool CheckAndRead(TarnelComm& comm) {
    uint8_t quiet = 0;
    return Expect(comm, CMD_AT, RES_OK) && Expect(comm, CMD_MODELNAME, RES_MODELNAME) &&
           Expect(comm, CMD_AT, RES_OK) && comm.GetQuietMode(quiet) == RES_QM &&
           Expect(comm, CMD_VERSION, RES_VERSION) && Expect(comm, CMD_INFO1, RES_INFO1) &&
           Expect(comm, CMD_INFO2, RES_INFO2) && Expect(comm, CMD_TADDR_QUERY, RES_TADDR);
}

// Runs `exchange` `rounds` times; returns the times and the bytes of one round.
std::vector<double> Measure(TarnelComm& comm, std::atomic<std::size_t>& received,
                            std::atomic<std::size_t>& sent, int rounds,
                            const std::function<bool(TarnelComm&)>& exchange, Bytes& perRound) {
    std::vector<double> times;
    for (int i = 0; i < rounds; ++i) {
        const std::size_t rx0 = received;
        const std::size_t tx0 = sent;
        const auto start = Clock::now();
        if (!exchange(comm)) {
            std::fprintf(stderr, "exchange %d failed\n", i);
            std::exit(1);
        }
        times.push_back(Ms(Clock::now() - start).count());
        perRound = {sent - tx0, received - rx0};
    }
    return times;
}

void Report(const char* name, int commands, const std::vector<double>& times, const Bytes& bytes) {
    const double lineMs = static_cast<double>(bytes.sent + bytes.received) * BITS_PER_BYTE * 1000.0 / BAUD;
    const double median = Percentile(times, 0.5);
    std::printf(
        "%-28s median %7.2f ms  p95 %7.2f ms  line %6.2f ms (%zu+%zu bytes)  over line per command %5.2f ms  "
        "ratio %.2f\n",
        name, median, Percentile(times, 0.95), lineMs, bytes.sent, bytes.received,
        (median - lineMs) / commands, median / lineMs);
}

struct OpeningTimes {
    double first = 0;
    double later = 0;  // median of the openings after the first
};

bool OpeningCheckAndRead(TarnelComm& comm, const std::string& port, unsigned baud, double& ms) {
    const auto start = Clock::now();
    if (comm.Open(port, baud, 8, 0, 0, 0)) return false;
    const bool read = CheckAndRead(comm);
    ms = Ms(Clock::now() - start).count();
    comm.Close();
    return read;
}

bool MeasureOpenings(unsigned baud, bool okAfterData, OpeningTimes& times) {
    tarnel::sim::SimConfig config;
    config.settings.uart.line.baud = baud;
    config.factory = config.settings;
    config.paceOutput = true;
    config.okAfterData = okAfterData;
    tarnel::sim::PtyModule sim(config);
    if (sim.Start()) return false;
    TarnelComm comm;
    std::vector<double> later;
    for (int i = 0; i < 8; ++i) {
        double ms = 0;
        if (!OpeningCheckAndRead(comm, sim.SlavePath(), baud, ms)) return false;
        if (i == 0) {
            times.first = ms;
        } else {
            later.push_back(ms);
        }
    }
    times.later = Percentile(later, 0.5);
    return true;
}

bool ReportOpenings() {
    for (unsigned baud : {9600u, 115200u}) {
        OpeningTimes prompt;
        OpeningTimes noOk;
        if (!MeasureOpenings(baud, true, prompt) || !MeasureOpenings(baud, false, noOk)) return false;
        std::printf(
            "opening, check and read, paced at %6u: OK after data first %7.1f ms later %7.1f ms;  "
            "no OK first %7.1f ms later %7.1f ms;  no OK / OK first %.2f later %.2f\n",
            baud, prompt.first, prompt.later, noOk.first, noOk.later, noOk.first / prompt.first,
            noOk.later / prompt.later);
    }
    return true;
}

}  // namespace

int main() {
    if (!ReportOpenings()) {
        std::fprintf(stderr, "opening measurement failed\n");
        return 1;
    }

    tarnel::sim::SimConfig config;
    config.settings.uart.line.baud = BAUD;
    config.factory = config.settings;
    tarnel::sim::PtyModule sim(config);
    if (std::error_code e = sim.Start()) {
        std::fprintf(stderr, "simulator: %s\n", e.message().c_str());
        return 1;
    }

    TarnelComm comm;
    std::atomic<std::size_t> received{0};
    std::atomic<std::size_t> sent{0};
    comm.m_onReceive = [&received](const TarnelComm*, const std::vector<uint8_t>& data) {
        received += data.size();
    };
    comm.m_onSend = [&sent](const TarnelComm*, std::vector<char>& bytes) { sent += bytes.size(); };
    if (std::error_code e = comm.Open(sim.SlavePath(), BAUD, 8, 0, 0, 0)) {
        std::fprintf(stderr, "open: %s\n", e.message().c_str());
        return 1;
    }

    Bytes atBytes;
    const auto at = Measure(
        comm, received, sent, 300, [](TarnelComm& c) { return Expect(c, CMD_AT, RES_OK); }, atBytes);
    Bytes seqBytes;
    const auto sequence = Measure(comm, received, sent, 60, CheckAndRead, seqBytes);
    comm.Close();

    Report("AT", 1, at, atBytes);
    Report("check and read (8 commands)", 8, sequence, seqBytes);
    return 0;
}
