#include <signal.h>

#include <cstdio>
#include <ctime>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "sim/PtyModule.h"
#include "sim/SimArgs.h"

namespace {

using namespace tarnel::sim;

std::error_code PublishFirstFree(PtyModule& sim, const std::string& name, std::filesystem::path& path) {
    auto ec = sim.Publish(name, path);
    for (int i = 2; ec == std::errc::file_exists && i <= 9; ++i)
        ec = sim.Publish(name + "-" + std::to_string(i), path);
    return ec;
}

std::string Framing(const LineSettings& line) {
    return std::to_string(line.baud) + "," + line.parity + "," + std::to_string(line.stopBits);
}

std::string Printable(const std::string& line) {
    std::string out;
    for (unsigned char c : line) {
        if (c >= 0x20 && c != 0x7F) {
            out.push_back(static_cast<char>(c));
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        }
    }
    return out;
}

// Tells about every command line since the last call, and about a host whose
// framing stopped or started matching, which is the usual reason for silence.
class Logger {
public:
    void Log(const ModuleSnapshot& snapshot) {
        for (; m_logged < snapshot.commands.size(); ++m_logged)
            std::cout << "<- " << Printable(snapshot.commands[m_logged]) << "\n";
        if (snapshot.hostLine && snapshot.hostLine != m_hostLine) {
            m_hostLine = snapshot.hostLine;
            std::cout << "   host line " << Framing(*m_hostLine)
                      << (snapshot.hostLineMatches
                              ? ""
                              : ", the module's is " + Framing(snapshot.current.uart.line) +
                                    ": it hears nothing")
                      << "\n";
        }
        std::cout.flush();
    }

private:
    std::size_t m_logged = 0;
    std::optional<LineSettings> m_hostLine;
};

}  // namespace

int main(int argc, char** argv) {
    const SimArgs args = ParseSimArgs(std::vector<std::string>(argv + 1, argv + argc));
    if (!args.error.empty()) {
        std::cerr << "tarnel-sim: " << args.error << "\nTry 'tarnel-sim --help' for the flags.\n";
        return 2;
    }
    if (args.help) {
        std::cout << SimUsage();
        return 0;
    }
    // Blocked before the serving thread starts, so that only sigtimedwait
    // below takes them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    PtyModule sim(args.config);
    if (const auto ec = sim.Start()) {
        std::cerr << "tarnel-sim: cannot open a pseudo-terminal: " << ec.message() << "\n";
        return 1;
    }
    std::string port = sim.SlavePath();
    if (args.publish) {
        std::filesystem::path link;
        if (const auto ec = PublishFirstFree(sim, args.linkName, link)) {
            std::cerr << "tarnel-sim: cannot publish the port link '" << args.linkName
                      << "': " << ec.message() << " (--no-link serves without one)\n";
            return 1;
        }
        port = link.string() + " -> " + port;
    }
    std::cout << "tarnel-sim: module on " << port << "\n"
              << "   UART " << Framing(args.config.settings.uart.line) << "; stop with Ctrl+C" << std::endl;

    Logger logger;
    const timespec tick{0, 200'000'000};
    for (;;) {
        const int signal = sigtimedwait(&stopSignals, nullptr, &tick);
        if (signal == SIGINT || signal == SIGTERM) break;
        const ModuleSnapshot snapshot = sim.Snapshot();
        if (args.logCommands) logger.Log(snapshot);
        if (snapshot.hungUp) {
            std::cout << "tarnel-sim: hung up after " << snapshot.received.size() << " bytes" << std::endl;
            break;
        }
    }
    sim.Stop();
    std::cout << "tarnel-sim: stopped" << std::endl;
    return 0;
}
