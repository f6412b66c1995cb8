#include "serial/CSerialportMP.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <numeric>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "serial/IoServiceExec.h"
#include "tests/support/PtyPair.h"
#include "tests/support/WaitUntil.h"

using namespace std::chrono_literals;
using tarnel::test::PtyPair;
using tarnel::test::WaitUntil;

namespace {

constexpr auto kDeadline = 10s;

std::vector<uint8_t> Bytes(const std::string& text) {
    return {text.begin(), text.end()};
}

std::string Pattern(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>('A' + (i * 7 + i / 26) % 26);
    return bytes;
}

// What the channel reported through its callbacks, which run on I/O threads.
// The hooks run outside the recorder's lock, so that they may call the channel
// without ordering that lock against the channel's.
class Recorder {
public:
    void Attach(CSerialportMP& channel) {
        channel.m_readCallback = [this](const std::shared_ptr<CSerialportMP>&, std::error_code& error,
                                        const std::vector<uint8_t>& data, unsigned count) {
            {
                std::lock_guard lock(m_mutex);
                ++m_readCalls;
                m_readCounts.push_back(count);
                if (error) m_readErrors.push_back(error);
                m_received.append(data.begin(), data.end());
            }
            if (m_onRead) m_onRead(error, data);
        };
        channel.m_writeCallback = [this](const std::shared_ptr<CSerialportMP>&, std::error_code& error,
                                         unsigned count) {
            {
                std::lock_guard lock(m_mutex);
                m_writeCounts.push_back(count);
            }
            if (m_onWrite) m_onWrite(error, count);
        };
    }

    std::function<void(const std::error_code&, const std::vector<uint8_t>&)> m_onRead;
    std::function<void(const std::error_code&, unsigned)> m_onWrite;

    std::string Received() const {
        std::lock_guard lock(m_mutex);
        return m_received;
    }
    std::vector<unsigned> WriteCounts() const {
        std::lock_guard lock(m_mutex);
        return m_writeCounts;
    }
    unsigned Written() const {
        const auto counts = WriteCounts();
        return std::accumulate(counts.begin(), counts.end(), 0u);
    }
    std::size_t ReadCalls() const {
        std::lock_guard lock(m_mutex);
        return m_readCalls;
    }
    std::vector<unsigned> ReadCounts() const {
        std::lock_guard lock(m_mutex);
        return m_readCounts;
    }
    std::vector<std::error_code> ReadErrors() const {
        std::lock_guard lock(m_mutex);
        return m_readErrors;
    }
    std::size_t WriteCalls() const { return WriteCounts().size(); }

private:
    mutable std::mutex m_mutex;
    std::size_t m_readCalls = 0;
    std::vector<unsigned> m_readCounts;
    std::vector<std::error_code> m_readErrors;
    std::string m_received;
    std::vector<unsigned> m_writeCounts;
};

class ChannelTest : public ::testing::Test {
protected:
    ChannelTest() { m_recorder.Attach(*m_channel); }
    ~ChannelTest() override {
        m_channel->Close();
        m_exec.Stop();
    }

    std::error_code Open(CSerialportMP& channel, uint8_t parity = 0, uint8_t stopBits = 0,
                         uint8_t flowControl = 0) {
        return channel.Open(m_pty.SlavePath(), 115200, 8, parity, stopBits, flowControl);
    }
    void OpenAndRun() {
        ASSERT_FALSE(Open(*m_channel));
        m_exec.Start(1);
    }
    void CloseAndStop() {
        m_channel->Close();
        m_exec.Stop();
    }
    int Write(const std::string& bytes) {
        return m_channel->Write(reinterpret_cast<const uint8_t*>(bytes.data()),
                                static_cast<unsigned>(bytes.size()));
    }

    PtyPair m_pty;
    IoServiceExec m_exec;
    std::shared_ptr<CSerialportMP> m_channel = std::make_shared<CSerialportMP>(m_exec.IoContext());
    Recorder m_recorder;
};

TEST_F(ChannelTest, CarriesBytesBothWays) {
    OpenAndRun();
    m_pty.Send("AT\r\nOK\r\n");
    EXPECT_TRUE(WaitUntil([&] { return m_recorder.Received() == "AT\r\nOK\r\n"; }, kDeadline));
    for (unsigned count : m_recorder.ReadCounts())
        EXPECT_GT(count, 0u);

    EXPECT_EQ(Write("AT+NAME?\r"), 9);
    m_channel->Write(Bytes(std::string("\x00\xff\r\n", 4)));
    EXPECT_EQ(m_pty.Receive(13, kDeadline), std::string("AT+NAME?\r\x00\xff\r\n", 13));
    EXPECT_TRUE(WaitUntil([&] { return m_recorder.Written() == 13; }, kDeadline));
}

TEST_F(ChannelTest, FullQueueAcceptsWhatFitsAndDrainsInChunks) {
    const std::string payload = Pattern(5000);
    EXPECT_EQ(Write(payload), static_cast<int>(CSerialportMP::TX_QUEUE_CAPACITY));
    EXPECT_EQ(Write("more"), 0);

    OpenAndRun();
    EXPECT_EQ(m_pty.Receive(CSerialportMP::TX_QUEUE_CAPACITY, kDeadline),
              payload.substr(0, CSerialportMP::TX_QUEUE_CAPACITY));
    ASSERT_TRUE(
        WaitUntil([&] { return m_recorder.Written() == CSerialportMP::TX_QUEUE_CAPACITY; }, kDeadline));
    const auto counts = m_recorder.WriteCounts();
    EXPECT_GE(counts.size(), 4u);
    for (unsigned count : counts)
        EXPECT_LE(count, CSerialportMP::TX_CHUNK_SIZE);
    EXPECT_TRUE(m_pty.ReceiveIdle(100ms).empty());
}

TEST_F(ChannelTest, WritesWhileOpenAppendBehindTheOutstandingOne) {
    OpenAndRun();
    const std::string first = Pattern(3000);
    std::string all;
    for (int i = 0; i < 4; ++i) {
        std::string part = first.substr(static_cast<std::size_t>(i) * 700, 700);
        EXPECT_EQ(Write(part), 700);
        all += part;
    }
    EXPECT_EQ(m_pty.Receive(all.size(), kDeadline), all);
}

TEST_F(ChannelTest, InvalidWritesQueueNothing) {
    const uint8_t byte = 'x';
    EXPECT_EQ(m_channel->Write(nullptr, 5), 22);
    EXPECT_EQ(m_channel->Write(&byte, 0), 22);
    m_channel->Write(std::vector<uint8_t>{});
    EXPECT_EQ(Write("ok"), 2);

    OpenAndRun();
    EXPECT_EQ(m_pty.Receive(2, kDeadline), "ok");
    EXPECT_TRUE(m_pty.ReceiveIdle(100ms).empty());
}

TEST_F(ChannelTest, OpenDiscardsWhatWasPendingOnThePort) {
    m_pty.HoldSlave();
    m_pty.Send("stale");
    OpenAndRun();
    m_pty.Send("fresh");
    EXPECT_TRUE(WaitUntil([&] { return m_recorder.Received() == "fresh"; }, kDeadline))
        << m_recorder.Received();
}

// Output is suspended through a second descriptor of the terminal, so that
// the channel's write cannot complete while its read waits for data.
TEST_F(ChannelTest, CloseDropsOutstandingOperationsAndTheQueue) {
    m_pty.HoldSlave();
    const int control = open(m_pty.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(control, 0);
    OpenAndRun();
    ASSERT_EQ(tcflow(control, TCOOFF), 0);
    ASSERT_EQ(Write(Pattern(3000)), 3000);

    const auto start = std::chrono::steady_clock::now();
    m_channel->Close();
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_GE(took, 100ms);
    EXPECT_LT(took, 2s);
    EXPECT_FALSE(m_channel->IsOpen());
    EXPECT_TRUE(WaitUntil([&] { return m_exec.IoContext().stopped(); }, kDeadline));
    m_exec.Stop();
    EXPECT_EQ(m_recorder.ReadCalls(), 0u);
    EXPECT_EQ(m_recorder.WriteCalls(), 0u);

    ASSERT_EQ(tcflow(control, TCOON), 0);
    close(control);
    EXPECT_TRUE(m_pty.ReceiveIdle(200ms).empty());
    OpenAndRun();
    EXPECT_EQ(Write("Z"), 1);
    EXPECT_EQ(m_pty.Receive(1, kDeadline), "Z");
    EXPECT_TRUE(m_pty.ReceiveIdle(200ms).empty());
}

TEST_F(ChannelTest, UnpluggedDeviceEndsReadingWithOneError) {
    OpenAndRun();
    m_pty.Unplug();
    ASSERT_TRUE(WaitUntil([&] { return m_recorder.ReadCalls() == 1; }, kDeadline));
    // No read outstanding any more: the worker runs out of work.
    EXPECT_TRUE(WaitUntil([&] { return m_exec.IoContext().stopped(); }, kDeadline));
    EXPECT_EQ(m_recorder.ReadCalls(), 1u);
    ASSERT_EQ(m_recorder.ReadErrors().size(), 1u);
    EXPECT_EQ(m_recorder.ReadCounts(), std::vector<unsigned>{0});
    EXPECT_TRUE(m_recorder.Received().empty());
    EXPECT_TRUE(m_channel->IsOpen());
    CloseAndStop();
    EXPECT_FALSE(m_channel->IsOpen());
}

TEST_F(ChannelTest, ClosingTheOnlyChannelLetsTheWorkersFinish) {
    ASSERT_FALSE(Open(*m_channel));
    m_exec.Start(2);
    m_pty.Send("x");
    ASSERT_TRUE(WaitUntil([&] { return m_recorder.Received() == "x"; }, kDeadline));
    m_channel->Close();
    EXPECT_TRUE(WaitUntil([&] { return m_exec.IoContext().stopped(); }, kDeadline));
    m_exec.Stop();
}

TEST_F(ChannelTest, ReopensAfterCloseAndStop) {
    m_pty.HoldSlave();
    for (int round = 0; round < 3; ++round) {
        OpenAndRun();
        const std::string line = "round " + std::to_string(round) + "\r";
        m_pty.Send(line);
        EXPECT_TRUE(
            WaitUntil([&] { return m_recorder.Received().find(line) != std::string::npos; }, kDeadline));
        EXPECT_EQ(Write(line), static_cast<int>(line.size()));
        EXPECT_EQ(m_pty.Receive(line.size(), kDeadline), line);
        CloseAndStop();
    }
}

TEST_F(ChannelTest, SecondOpenOfAnOpenChannelIsBusyAndLeavesThePortAlone) {
    OpenAndRun();
    const std::error_code error = Open(*m_channel);
    EXPECT_EQ(error, std::make_error_code(std::errc::device_or_resource_busy));
    EXPECT_TRUE(m_channel->IsOpen());
    m_pty.Send("still here");
    EXPECT_TRUE(WaitUntil([&] { return m_recorder.Received() == "still here"; }, kDeadline));
}

TEST_F(ChannelTest, SecondOpenerOfTheSamePortIsBusyAndStealsNothing) {
    m_pty.HoldSlave();
    OpenAndRun();
    auto other = std::make_shared<CSerialportMP>(m_exec.IoContext());
    Recorder otherRecorder;
    otherRecorder.Attach(*other);
    EXPECT_EQ(Open(*other), std::errc::device_or_resource_busy);
    EXPECT_FALSE(other->IsOpen());

    const std::string burst = Pattern(2000);
    m_pty.Send(burst);
    EXPECT_TRUE(WaitUntil([&] { return m_recorder.Received() == burst; }, kDeadline));

    CloseAndStop();
    EXPECT_FALSE(Open(*other)) << "the port is free again once closed";
    other->Close();
}

TEST_F(ChannelTest, SecondProgramOpeningTheSamePortIsBusy) {
    ASSERT_FALSE(Open(*m_channel));
    // No worker runs while forking: the child must not inherit a held lock.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        asio::io_context context;
        auto channel = std::make_shared<CSerialportMP>(context);
        const std::error_code error = channel->Open(m_pty.SlavePath(), 9600, 8, 0, 0, 0);
        _exit(!error ? 1 : error == std::errc::device_or_resource_busy ? 0 : 2);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: the child opened the port, 2: another error";
}

TEST_F(ChannelTest, PortsThatCannotBeOpenedLeaveTheChannelClosed) {
    const std::filesystem::path file = std::filesystem::temp_directory_path() / "tarnel-serial-plain-file";
    {
        std::FILE* f = std::fopen(file.c_str(), "w");
        ASSERT_NE(f, nullptr);
        std::fclose(f);
    }
    const struct {
        std::string port;
        std::errc expected;
    } cases[] = {
        {"/dev/tarnel-no-such-port", std::errc::no_such_file_or_directory},
        {file.string(), std::errc::inappropriate_io_control_operation},
        {"/dev/null", std::errc::inappropriate_io_control_operation},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(m_channel->Open(c.port, 9600, 8, 0, 0, 0), c.expected) << c.port;
        EXPECT_FALSE(m_channel->IsOpen()) << c.port;
    }
    std::filesystem::remove(file);
}

TEST_F(ChannelTest, ValuesOutOfRangeThrowAndLeaveThePortFree) {
    EXPECT_THROW(m_channel->Open(m_pty.SlavePath(), 9600, 9, 0, 0, 0), std::out_of_range);
    EXPECT_THROW(m_channel->Open(m_pty.SlavePath(), 9600, 4, 0, 0, 0), std::out_of_range);
    EXPECT_THROW(Open(*m_channel, 3, 0, 0), std::out_of_range);
    EXPECT_THROW(Open(*m_channel, 0, 3, 0), std::out_of_range);
    EXPECT_THROW(Open(*m_channel, 0, 0, 200), std::out_of_range);
    EXPECT_FALSE(m_channel->IsOpen());
    EXPECT_FALSE(Open(*m_channel));
}

struct SettingsCase {
    uint32_t baud;
    speed_t speed;
    uint8_t parity;
    uint8_t stopBits;
    uint8_t flowControl;
};

class ChannelSettings : public ChannelTest, public ::testing::WithParamInterface<SettingsCase> {};

// The settings are read back through a second descriptor of the same
// terminal. A pseudo-terminal keeps everything but the parity enable bit and
// the character size (the kernel forces 8 bits without parity), so only the
// odd flag of the parity is visible here.
TEST_P(ChannelSettings, ReachThePortAndDataStillFlows) {
    const SettingsCase& c = GetParam();
    const int probe = open(m_pty.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(probe, 0);
    ASSERT_FALSE(m_channel->Open(m_pty.SlavePath(), c.baud, 8, c.parity, c.stopBits, c.flowControl));
    termios tio{};
    ASSERT_EQ(tcgetattr(probe, &tio), 0);
    close(probe);
    EXPECT_EQ(cfgetospeed(&tio), c.speed);
    EXPECT_EQ((tio.c_cflag & PARODD) != 0, c.parity == 1);
    EXPECT_EQ((tio.c_cflag & CSTOPB) != 0, c.stopBits == 2);
    EXPECT_EQ((tio.c_iflag & IXON) != 0, c.flowControl == 1);
    EXPECT_EQ((tio.c_cflag & CRTSCTS) != 0, c.flowControl == 2);

    m_exec.Start(1);
    EXPECT_EQ(Write("ping"), 4);
    EXPECT_EQ(m_pty.Receive(4, kDeadline), "ping");
    m_pty.Send("pong");
    EXPECT_TRUE(WaitUntil([&] { return m_recorder.Received() == "pong"; }, kDeadline));
}

INSTANTIATE_TEST_SUITE_P(
    Table, ChannelSettings,
    ::testing::Values(SettingsCase{9600, B9600, 0, 0, 0}, SettingsCase{19200, B19200, 1, 0, 0},
                      SettingsCase{38400, B38400, 2, 2, 0}, SettingsCase{57600, B57600, 0, 2, 1},
                      SettingsCase{115200, B115200, 1, 0, 2}, SettingsCase{230400, B230400, 2, 0, 1},
                      SettingsCase{460800, B460800, 0, 2, 2}));

// termios has no one and a half stop bits; the port is refused, not opened
// with a different setting.
TEST_F(ChannelTest, OneAndAHalfStopBitsAreRefusedAndThePortReleased) {
    EXPECT_EQ(Open(*m_channel, 0, 1, 0), std::errc::operation_not_supported);
    EXPECT_FALSE(m_channel->IsOpen());
    auto other = std::make_shared<CSerialportMP>(m_exec.IoContext());
    EXPECT_FALSE(Open(*other));
    other->Close();
}

TEST_F(ChannelTest, ReadCallbackMayWriteAndClose) {
    m_recorder.m_onRead = [this](const std::error_code&, const std::vector<uint8_t>& data) {
        m_channel->Write(data);
        if (std::find(data.begin(), data.end(), '!') != data.end()) m_channel->Close();
    };
    OpenAndRun();
    m_pty.Send("echo");
    EXPECT_EQ(m_pty.Receive(4, kDeadline), "echo");
    m_pty.Send("bye!");
    EXPECT_TRUE(WaitUntil([&] { return !m_channel->IsOpen(); }, kDeadline));
    EXPECT_TRUE(WaitUntil([&] { return m_exec.IoContext().stopped(); }, kDeadline));
}

TEST_F(ChannelTest, WriteCallbackMayClose) {
    m_recorder.m_onWrite = [this](const std::error_code&, unsigned) { m_channel->Close(); };
    OpenAndRun();
    EXPECT_EQ(Write(Pattern(3000)), 3000);
    EXPECT_TRUE(WaitUntil([&] { return !m_channel->IsOpen(); }, kDeadline));
    EXPECT_TRUE(WaitUntil([&] { return m_exec.IoContext().stopped(); }, kDeadline));
    EXPECT_EQ(m_recorder.WriteCalls(), 1u);
    const std::string sent = m_pty.ReceiveIdle(200ms);
    EXPECT_EQ(sent.size(), m_recorder.Written());
}

// Writers on several threads while the window thread opens and closes the
// channel; in turn the window thread, the read callback and the write
// callback do the closing. Under ThreadSanitizer this shows Close, Write, Open
// and the completions free of data races; every round must see its close.
TEST_F(ChannelTest, ConcurrentWritesOpensAndClosesFromAllSides) {
    enum class Closer { Window, ReadCallback, WriteCallback };
    m_pty.HoldSlave();
    std::atomic<Closer> closer{Closer::Window};
    std::atomic<unsigned> roundReads{0};
    std::atomic<unsigned> roundWrites{0};
    m_recorder.m_onWrite = [&](const std::error_code&, unsigned) {
        if (++roundWrites == 5 && closer == Closer::WriteCallback) m_channel->Close();
    };
    m_recorder.m_onRead = [&](const std::error_code&, const std::vector<uint8_t>& data) {
        m_channel->Write(data);
        if (++roundReads == 1 && closer == Closer::ReadCallback) m_channel->Close();
    };

    std::atomic<bool> stop{false};
    std::vector<std::thread> threads;
    for (int w = 0; w < 4; ++w) {
        threads.emplace_back([&, w] {
            const std::string message = "writer " + std::to_string(w) + " says hello\r\n";
            while (!stop) {
                Write(message);
                std::this_thread::yield();
            }
        });
    }
    threads.emplace_back([&] {
        while (!stop) {
            m_pty.Send("device talks\r\n");
            m_pty.ReceiveIdle(1ms);
        }
    });

    for (int round = 0; round < 18; ++round) {
        closer = static_cast<Closer>(round % 3);
        roundReads = 0;
        roundWrites = 0;
        ASSERT_FALSE(Open(*m_channel)) << "round " << round;
        m_exec.Start(2);
        if (closer == Closer::Window) {
            EXPECT_TRUE(WaitUntil([&] { return roundReads > 0 && roundWrites > 0; }, kDeadline)) << round;
        } else {
            EXPECT_TRUE(WaitUntil([&] { return !m_channel->IsOpen(); }, kDeadline)) << round;
        }
        CloseAndStop();
    }
    stop = true;
    for (auto& thread : threads)
        thread.join();

    // What the writers queued after the last close goes out first.
    m_recorder.m_onWrite = nullptr;
    m_recorder.m_onRead = nullptr;
    OpenAndRun();
    m_pty.ReceiveIdle(300ms);
    EXPECT_EQ(Write("final\r"), 6);
    EXPECT_EQ(m_pty.Receive(6, kDeadline), "final\r");
}

TEST(Channel, OpenRequiresSharedOwnership) {
    IoServiceExec exec;
    CSerialportMP channel(exec.IoContext());
    try {
        channel.Open("/dev/null", 9600, 8, 0, 0, 0);
        FAIL() << "no exception";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(
            std::string(e.what()).rfind("It seems like that instance is not created from shared_ptr: ", 0),
            0u);
        EXPECT_EQ(std::string(e.what()).back(), '\n');
    }
    EXPECT_FALSE(channel.IsOpen());
}

}  // namespace
