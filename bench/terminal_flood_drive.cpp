// The device side of bench/terminal_flood.sh: makes a pseudo-terminal, links
// it where a terminal program finds it and prints "port PATH". Once a program
// has opened it at 460800 baud, it floods it with a fixed text at full speed
// while pinging the program's window every 100 ms (or --ping-ms), and times
// the flood from the first byte until the view is idle: all bytes written and
// the program and the X server quiet. It prints one line
//   result bytes=N seconds=S cpu=S xcpu=S stall_ms=MS pings=N lost=N
// (cpu: the program's processor time for the flood; xcpu: the X server's;
// stall_ms: the slowest answer to a ping) and keeps the port until its
// standard input ends, so that the view can still be read.
//
//   terminal_flood_drive --link PATH [--megabytes 8] [--xserver PID] [--save FILE] [--ping-ms 100]
//                        [--program-name NAME] [--written FILE]
//
// --ping-ms 0: no pings (a Windows program under Wine draws into Wine's
// desktop window, which answers them itself). --program-name: the program is
// the holder of the port whose command line holds NAME (under Wine the
// server holds the port too). --written: a file made once every byte is
// written, for a probe that samples the program only while the flood runs.

#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "bench/FloodText.h"
#include "bench/ProcessCpu.h"
#include "bench/XPingProbe.h"
#include "tests/support/PtyPair.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr auto kPingTimeout = 10s;
// The view is idle once the program and the X server together use less than
// this much processor time within the quiet span (a blinking cursor costs
// far less).
constexpr auto kQuietSpan = 200ms;
constexpr auto kQuietBusy = 4ms;
constexpr auto kSamplePeriod = 5ms;
constexpr auto kFloodTimeout = 300s;

struct Options {
    std::string link;
    double megabytes = 8;
    pid_t xserver = 0;
    std::string save;
    std::chrono::milliseconds pingPeriod{100};
    std::string programName;
    std::string written;
};

bool ParseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        if (name == "--link") {
            options.link = argv[i + 1];
        } else if (name == "--megabytes") {
            options.megabytes = std::atof(argv[i + 1]);
        } else if (name == "--xserver") {
            options.xserver = static_cast<pid_t>(std::atoi(argv[i + 1]));
        } else if (name == "--save") {
            options.save = argv[i + 1];
        } else if (name == "--ping-ms") {
            options.pingPeriod = std::chrono::milliseconds(std::atoi(argv[i + 1]));
        } else if (name == "--program-name") {
            options.programName = argv[i + 1];
        } else if (name == "--written") {
            options.written = argv[i + 1];
        } else {
            return false;
        }
    }
    return !options.link.empty() && options.megabytes > 0 && options.pingPeriod.count() >= 0 && argc % 2 == 1;
}

bool LineIsAt460800(int master) {
    termios tio{};
    return tcgetattr(master, &tio) == 0 && cfgetospeed(&tio) == B460800;
}

bool CommandLineHolds(const std::filesystem::path& process, const std::string& name) {
    std::ifstream in(process / "cmdline", std::ios::binary);
    const std::string line((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return line.find(name) != std::string::npos;
}

// The process other than this one that has `path` open and whose command
// line holds `name`.
pid_t HolderOf(const std::string& path, const std::string& name) {
    std::error_code error;
    for (const auto& process : std::filesystem::directory_iterator("/proc", error)) {
        const pid_t pid = static_cast<pid_t>(std::atoi(process.path().filename().c_str()));
        if (pid <= 0 || pid == getpid() || !CommandLineHolds(process.path(), name)) continue;
        std::error_code fdError;
        for (const auto& fd : std::filesystem::directory_iterator(process.path() / "fd", fdError)) {
            std::error_code linkError;
            if (std::filesystem::read_symlink(fd.path(), linkError) == path) return pid;
        }
    }
    return 0;
}

template <typename Condition>
bool WaitUntil(Condition condition, Clock::duration timeout) {
    const Clock::time_point deadline = Clock::now() + timeout;
    while (!condition()) {
        if (Clock::now() > deadline) return false;
        std::this_thread::sleep_for(10ms);
    }
    return true;
}

struct Pings {
    std::atomic<bool> stop{false};
    Clock::duration worst{0};
    int answered = 0;
    int lost = 0;
};

void PingEvery(std::chrono::milliseconds period, XPingProbe& probe, std::uint32_t window, Pings& pings) {
    Clock::time_point next = Clock::now();
    while (!pings.stop) {
        if (const auto roundTrip = probe.Ping(window, kPingTimeout)) {
            pings.worst = std::max<Clock::duration>(pings.worst, *roundTrip);
            ++pings.answered;
        } else {
            ++pings.lost;
        }
        next = std::max(next + period, Clock::now());
        std::this_thread::sleep_until(next);
    }
}

struct Sample {
    Clock::time_point at;
    std::chrono::nanoseconds busy;
};

// Samples the processor time of the program and the X server until they stay
// quiet after `written` is set; returns when the quiet began.
Clock::time_point IdleAfter(const std::atomic<bool>& written, pid_t program, pid_t xserver) {
    std::vector<Sample> samples;
    std::size_t candidate = 0;
    const Clock::time_point deadline = Clock::now() + kFloodTimeout;
    while (Clock::now() < deadline) {
        const bool allWritten = written;
        const auto busy = ProcessCpu(program) + (xserver != 0 ? ProcessCpu(xserver) : 0ns);
        samples.push_back({Clock::now(), busy});
        if (!allWritten) {
            candidate = samples.size() - 1;
        } else {
            const Sample& now = samples.back();
            while (now.at - samples[candidate].at >= kQuietSpan) {
                if (now.busy - samples[candidate].busy < kQuietBusy) return samples[candidate].at;
                ++candidate;
            }
        }
        std::this_thread::sleep_for(kSamplePeriod);
    }
    return Clock::time_point{};
}

double Seconds(Clock::duration duration) {
    return std::chrono::duration<double>(duration).count();
}

int Flood(tarnel::test::PtyPair& pty, const std::string& flood, const Options& options, pid_t program,
          std::uint32_t window) {
    const pid_t xserver = options.xserver;
    XPingProbe probe;
    Pings pings;
    std::atomic<bool> written{false};
    const auto cpuBefore = ProcessCpu(program);
    const auto xcpuBefore = xserver != 0 ? ProcessCpu(xserver) : 0ns;
    const Clock::time_point start = Clock::now();
    std::thread device([&] {
        pty.Send(flood);
        written = true;
        if (!options.written.empty()) std::ofstream(options.written) << "written\n";
    });
    std::thread pinger([&] {
        if (window != 0) PingEvery(options.pingPeriod, probe, window, pings);
    });
    const Clock::time_point idle = IdleAfter(written, program, xserver);
    const auto cpu = ProcessCpu(program) - cpuBefore;
    const auto xcpu = xserver != 0 ? ProcessCpu(xserver) - xcpuBefore : 0ns;
    pings.stop = true;
    pinger.join();
    device.join();
    if (idle == Clock::time_point{}) {
        std::fprintf(stderr, "terminal_flood_drive: the view did not become idle\n");
        return 1;
    }
    std::printf("result bytes=%zu seconds=%.3f cpu=%.3f xcpu=%.3f stall_ms=%.1f pings=%d lost=%d\n",
                flood.size(), Seconds(idle - start), Seconds(cpu), Seconds(xcpu),
                std::chrono::duration<double, std::milli>(pings.worst).count(), pings.answered, pings.lost);
    std::fflush(stdout);
    return pings.lost == 0 ? 0 : 1;
}

int Run(const Options& options) {
    const std::string flood = FloodText(static_cast<std::size_t>(options.megabytes * 1024 * 1024));
    if (!options.save.empty()) std::ofstream(options.save, std::ios::binary) << flood;
    tarnel::test::PtyPair pty;
    std::filesystem::remove(options.link);
    std::filesystem::create_symlink(pty.SlavePath(), options.link);
    std::printf("port %s\n", pty.SlavePath().c_str());
    std::fflush(stdout);

    pid_t program = 0;
    if (!WaitUntil(
            [&] {
                return LineIsAt460800(pty.MasterFd()) &&
                       (program = HolderOf(pty.SlavePath(), options.programName)) != 0;
            },
            120s)) {
        std::fprintf(stderr, "terminal_flood_drive: no program opened %s at 460800 baud\n",
                     pty.SlavePath().c_str());
        return 1;
    }
    // What a program discards right after opening its port must not be the
    // flood.
    std::this_thread::sleep_for(300ms);
    XPingProbe finder;
    std::uint32_t window = 0;
    if (options.pingPeriod.count() > 0 &&
        (!finder.Connected() ||
         !WaitUntil([&] { return (window = finder.LargestWindowOf(program)) != 0; }, 10s))) {
        std::fprintf(stderr, "terminal_flood_drive: no window of process %d\n", static_cast<int>(program));
        return 1;
    }
    const int status = Flood(pty, flood, options, program, window);
    char ignored[256];
    while (read(STDIN_FILENO, ignored, sizeof ignored) > 0) {
    }
    std::filesystem::remove(options.link);
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(stderr,
                     "usage: terminal_flood_drive --link PATH [--megabytes 8] [--xserver PID] [--save FILE] "
                     "[--ping-ms 100] [--program-name NAME] [--written FILE]\n");
        return 2;
    }
    return Run(options);
}
