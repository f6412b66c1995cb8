// Read throughput of the serial channel against a raw read() loop with the
// same 1024-byte buffer, each fed through the master side of its own
// pseudo-terminal by a writer thread. Prints both rates and their ratio last.
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <system_error>
#include <thread>

#include "serial/CSerialportMP.h"
#include "serial/IoServiceExec.h"
#include "tests/support/PtyPair.h"
#include "tests/support/WaitUntil.h"

namespace {

constexpr std::size_t kTotalBytes = 32u << 20;
constexpr int kRounds = 3;
constexpr double kLineBytesPerSecond = 460800.0 / 10.0;

using Clock = std::chrono::steady_clock;

// Feeds kTotalBytes into the master side in blocks.
std::thread StartFeeding(tarnel::test::PtyPair& pty) {
    return std::thread([&pty] {
        const std::string block(64 * 1024, 'U');
        for (std::size_t sent = 0; sent < kTotalBytes; sent += block.size())
            pty.Send(block);
    });
}

double BytesPerSecond(Clock::duration elapsed) {
    return static_cast<double>(kTotalBytes) / std::chrono::duration<double>(elapsed).count();
}

double MeasureChannel() {
    tarnel::test::PtyPair pty;
    IoServiceExec exec;
    auto channel = std::make_shared<CSerialportMP>(exec.IoContext());
    std::atomic<std::size_t> received{0};
    channel->m_readCallback = [&received](const std::shared_ptr<CSerialportMP>&, std::error_code&,
                                          const std::vector<uint8_t>&, unsigned count) { received += count; };
    if (const std::error_code error = channel->Open(pty.SlavePath(), 460800, 8, 0, 0, 0)) {
        std::fprintf(stderr, "open %s: %s\n", pty.SlavePath().c_str(), error.message().c_str());
        std::exit(1);
    }
    exec.Start(1);
    const auto start = Clock::now();
    std::thread feeder = StartFeeding(pty);
    const bool done =
        tarnel::test::WaitUntil([&] { return received >= kTotalBytes; }, std::chrono::minutes(2));
    const auto elapsed = Clock::now() - start;
    feeder.join();
    channel->Close();
    exec.Stop();
    if (!done) {
        std::fprintf(stderr, "channel received only %zu bytes\n", received.load());
        std::exit(1);
    }
    return BytesPerSecond(elapsed);
}

double MeasureRawLoop() {
    tarnel::test::PtyPair pty;
    const int fd = open(pty.SlavePath().c_str(), O_RDWR | O_NOCTTY);
    termios tio{};
    if (fd < 0 || tcgetattr(fd, &tio) != 0) {
        std::perror("open slave");
        std::exit(1);
    }
    cfmakeraw(&tio);
    cfsetspeed(&tio, B460800);
    tcsetattr(fd, TCSANOW, &tio);
    uint8_t buffer[CSerialportMP::RX_BUFFER_SIZE];
    std::size_t received = 0;
    const auto start = Clock::now();
    std::thread feeder = StartFeeding(pty);
    while (received < kTotalBytes) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n <= 0) break;
        received += static_cast<std::size_t>(n);
    }
    const auto elapsed = Clock::now() - start;
    feeder.join();
    close(fd);
    return BytesPerSecond(elapsed);
}

}  // namespace

int main() {
    double channel = 0;
    double raw = 0;
    // Best of a few alternating rounds, so that a burst of load from other
    // processes on the machine does not decide the result.
    for (int round = 0; round < kRounds; ++round) {
        channel = std::max(channel, MeasureChannel());
        raw = std::max(raw, MeasureRawLoop());
    }
    std::printf("bytes per round: %zu, best of %d rounds\n", kTotalBytes, kRounds);
    std::printf("channel read callback: %.0f bytes/s (%.0f times the 460800 baud line)\n", channel,
                channel / kLineBytesPerSecond);
    std::printf("raw read() loop:       %.0f bytes/s\n", raw);
    std::printf("ratio channel/raw: %.2f\n", channel / raw);
    return 0;
}
