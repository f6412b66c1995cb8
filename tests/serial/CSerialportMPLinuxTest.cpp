#include "serial/CSerialportMP.h"

#include <gtest/gtest.h>

#include <asio/io_context.hpp>

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
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

std::string Pattern(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>('A' + (i * 7 + i / 26) % 26);
    return bytes;
}

struct Record {
    std::vector<unsigned> readCounts;
    std::vector<std::error_code> readErrors;
    std::string received;
    std::vector<unsigned> writeCounts;
    std::vector<std::error_code> writeErrors;

    unsigned Written() const { return std::accumulate(writeCounts.begin(), writeCounts.end(), 0u); }
};

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
                m_record.readCounts.push_back(count);
                if (error) m_record.readErrors.push_back(error);
                m_record.received.append(data.begin(), data.end());
            }
            if (m_onRead) m_onRead(data);
        };
        channel.m_writeCallback = [this](const std::shared_ptr<CSerialportMP>&, std::error_code& error,
                                         unsigned count) {
            {
                std::lock_guard lock(m_mutex);
                m_record.writeCounts.push_back(count);
                if (error) m_record.writeErrors.push_back(error);
            }
            if (m_onWrite) m_onWrite();
        };
    }
    Record Get() const {
        std::lock_guard lock(m_mutex);
        return m_record;
    }

    std::function<void(const std::vector<uint8_t>&)> m_onRead;
    std::function<void()> m_onWrite;

private:
    mutable std::mutex m_mutex;
    Record m_record;
};

class ChannelTest : public ::testing::Test {
protected:
    ChannelTest() { m_recorder.Attach(*m_channel); }
    ~ChannelTest() override { CloseAndStop(); }

    std::error_code Open(CSerialportMP& channel, uint8_t parity = 0, uint8_t stopBits = 0, uint8_t flow = 0) {
        return channel.Open(m_pty.SlavePath(), 115200, 8, parity, stopBits, flow);
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
    bool Received(const std::string& bytes) {
        return WaitUntil([&] { return m_recorder.Get().received == bytes; }, kDeadline);
    }

    PtyPair m_pty;
    IoServiceExec m_exec;
    std::shared_ptr<CSerialportMP> m_channel = std::make_shared<CSerialportMP>(m_exec.IoContext());
    Recorder m_recorder;
};

TEST_F(ChannelTest, CarriesBytesBothWaysAndAppendsBehindAnOutstandingWrite) {
    OpenAndRun();
    m_pty.Send("AT\r\nOK\r\n");
    EXPECT_TRUE(Received("AT\r\nOK\r\n"));
    for (unsigned count : m_recorder.Get().readCounts)
        EXPECT_GT(count, 0u);

    const std::string binary("\x00\xff\r\n", 4);
    m_channel->Write(std::vector<uint8_t>(binary.begin(), binary.end()));
    const std::string text = Pattern(2800);
    for (std::size_t at = 0; at < text.size(); at += 700)
        EXPECT_EQ(Write(text.substr(at, 700)), 700);
    EXPECT_EQ(m_pty.Receive(binary.size() + text.size(), kDeadline), binary + text);
    EXPECT_TRUE(
        WaitUntil([&] { return m_recorder.Get().Written() == binary.size() + text.size(); }, kDeadline));
}

TEST_F(ChannelTest, QueueFilledWhileClosedIsBoundedAndLeavesInChunksAfterOpen) {
    const uint8_t byte = 'x';
    EXPECT_EQ(m_channel->Write(nullptr, 5), 22);
    EXPECT_EQ(m_channel->Write(&byte, 0), 22);
    m_channel->Write(std::vector<uint8_t>{});
    const std::string payload = Pattern(5000);
    EXPECT_EQ(Write(payload), static_cast<int>(CSerialportMP::TX_QUEUE_CAPACITY));
    EXPECT_EQ(Write("more"), 0);

    OpenAndRun();
    EXPECT_EQ(m_pty.Receive(CSerialportMP::TX_QUEUE_CAPACITY, kDeadline),
              payload.substr(0, CSerialportMP::TX_QUEUE_CAPACITY));
    ASSERT_TRUE(
        WaitUntil([&] { return m_recorder.Get().Written() == CSerialportMP::TX_QUEUE_CAPACITY; }, kDeadline));
    const auto counts = m_recorder.Get().writeCounts;
    EXPECT_GE(counts.size(), 4u);
    for (unsigned count : counts)
        EXPECT_LE(count, CSerialportMP::TX_CHUNK_SIZE);
    EXPECT_TRUE(m_pty.ReceiveIdle(100ms).empty());
}

TEST_F(ChannelTest, OpenDiscardsWhatWasPendingOnThePort) {
    m_pty.HoldSlave();
    m_pty.Send("stale");
    OpenAndRun();
    m_pty.Send("fresh");
    EXPECT_TRUE(Received("fresh")) << m_recorder.Get().received;
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
    // The cancelled operations are gone, so the worker runs out of work.
    EXPECT_TRUE(WaitUntil([&] { return m_exec.IoContext().stopped(); }, kDeadline));
    m_exec.Stop();
    EXPECT_TRUE(m_recorder.Get().readCounts.empty());
    EXPECT_TRUE(m_recorder.Get().writeCounts.empty());

    ASSERT_EQ(tcflow(control, TCOON), 0);
    close(control);
    EXPECT_TRUE(m_pty.ReceiveIdle(200ms).empty());
    OpenAndRun();
    EXPECT_EQ(Write("Z"), 1);
    EXPECT_EQ(m_pty.Receive(1, kDeadline), "Z");
    EXPECT_TRUE(m_pty.ReceiveIdle(200ms).empty());
}

// A serial driver's close waits for unsent output to drain, which a line
// held by flow control or a dead device never does; a pseudo-terminal never
// waits, but in packet mode its master is told of the discard the close needs.
TEST_F(ChannelTest, CloseGivesUpUnsentOutputSoItNeverWaitsForADrain) {
    m_pty.HoldSlave();
    OpenAndRun();
    const int packetMode = 1;
    ASSERT_EQ(ioctl(m_pty.MasterFd(), TIOCPKT, &packetMode), 0);
    CloseAndStop();

    pollfd master{m_pty.MasterFd(), POLLIN, 0};
    ASSERT_EQ(poll(&master, 1, 2000), 1);
    unsigned char status = 0;
    ASSERT_EQ(read(m_pty.MasterFd(), &status, 1), 1);
    EXPECT_TRUE(status & TIOCPKT_FLUSHWRITE) << int(status);
}

TEST_F(ChannelTest, UnpluggedDeviceEndsReadingWithOneError) {
    OpenAndRun();
    m_pty.Unplug();
    // No read is outstanding after the error, so the worker runs out of work.
    ASSERT_TRUE(WaitUntil([&] { return m_exec.IoContext().stopped(); }, kDeadline));
    const Record record = m_recorder.Get();
    EXPECT_EQ(record.readCounts, std::vector<unsigned>{0});
    EXPECT_EQ(record.readErrors.size(), 1u);
    EXPECT_TRUE(record.received.empty());
    EXPECT_TRUE(m_channel->IsOpen());
    CloseAndStop();
    EXPECT_FALSE(m_channel->IsOpen());
}

// After the read error no operation is outstanding and the executor's worker
// leaves; a write then completes into the stopped executor, which hands it
// out when it is started for the next opening.
TEST_F(ChannelTest, ACompletionOfADeadOpeningIsNotReportedInTheNext) {
    OpenAndRun();
    m_pty.Unplug();
    ASSERT_TRUE(WaitUntil([&] { return m_exec.IoContext().stopped(); }, kDeadline));
    EXPECT_EQ(Write("AT\r"), 3);
    CloseAndStop();

    PtyPair next;
    ASSERT_FALSE(m_channel->Open(next.SlavePath(), 115200, 8, 0, 0, 0));
    m_exec.Start(1);
    EXPECT_EQ(Write("AT\r"), 3);
    EXPECT_EQ(next.Receive(3, kDeadline), "AT\r");
    EXPECT_TRUE(WaitUntil([&] { return m_recorder.Get().Written() == 3; }, kDeadline));
    EXPECT_TRUE(m_recorder.Get().writeErrors.empty()) << m_recorder.Get().writeErrors.front().message();
}

TEST_F(ChannelTest, SecondOpenersAreBusyAndStealNothing) {
    m_pty.HoldSlave();
    OpenAndRun();
    EXPECT_EQ(Open(*m_channel), std::make_error_code(std::errc::device_or_resource_busy));
    EXPECT_TRUE(m_channel->IsOpen());
    auto other = std::make_shared<CSerialportMP>(m_exec.IoContext());
    EXPECT_EQ(Open(*other), std::errc::device_or_resource_busy);
    EXPECT_FALSE(other->IsOpen());

    const std::string burst = Pattern(2000);
    m_pty.Send(burst);
    EXPECT_TRUE(Received(burst));

    CloseAndStop();
    EXPECT_FALSE(Open(*other)) << "the port is free again once closed";
    other->Close();
}

TEST_F(ChannelTest, SecondProgramOpeningTheSamePortIsBusy) {
    // No worker runs while forking, so the child inherits no held lock.
    ASSERT_FALSE(Open(*m_channel));
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

TEST_F(ChannelTest, RefusedPortsAndSettingsLeaveTheChannelClosedAndThePortFree) {
    const std::filesystem::path file = std::filesystem::temp_directory_path() / "tarnel-serial-plain-file";
    std::fclose(std::fopen(file.c_str(), "w"));
    EXPECT_EQ(m_channel->Open("/dev/tarnel-no-such-port", 9600, 8, 0, 0, 0),
              std::errc::no_such_file_or_directory);
    EXPECT_EQ(m_channel->Open(file.string(), 9600, 8, 0, 0, 0),
              std::errc::inappropriate_io_control_operation);
    EXPECT_EQ(m_channel->Open("/dev/null", 9600, 8, 0, 0, 0), std::errc::inappropriate_io_control_operation);
    std::filesystem::remove(file);
    // termios has no one and a half stop bits.
    EXPECT_EQ(Open(*m_channel, 0, 1, 0), std::errc::operation_not_supported);
    EXPECT_THROW(m_channel->Open(m_pty.SlavePath(), 9600, 4, 0, 0, 0), std::out_of_range);
    EXPECT_THROW(Open(*m_channel, 3, 0, 0), std::out_of_range);
    EXPECT_THROW(Open(*m_channel, 0, 0, 200), std::out_of_range);
    EXPECT_FALSE(m_channel->IsOpen());
    EXPECT_FALSE(Open(*m_channel));
}

// Read back through a second descriptor of the terminal. A pseudo-terminal
// keeps all but the parity enable bit and the character size (the kernel
// forces 8 bits without parity), so of the parity only the odd flag shows.
TEST_F(ChannelTest, SettingsReachThePort) {
    const struct {
        uint32_t baud;
        speed_t speed;
        uint8_t parity, stopBits, flow;
    } cases[] = {{9600, B9600, 0, 0, 0}, {57600, B57600, 1, 2, 1}, {460800, B460800, 2, 0, 2}};
    for (const auto& c : cases) {
        const int probe = open(m_pty.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        ASSERT_FALSE(m_channel->Open(m_pty.SlavePath(), c.baud, 8, c.parity, c.stopBits, c.flow));
        termios tio{};
        EXPECT_EQ(tcgetattr(probe, &tio), 0);
        close(probe);
        EXPECT_EQ(cfgetospeed(&tio), c.speed) << c.baud;
        EXPECT_EQ((tio.c_cflag & PARODD) != 0, c.parity == 1) << c.baud;
        EXPECT_EQ((tio.c_cflag & CSTOPB) != 0, c.stopBits == 2) << c.baud;
        EXPECT_EQ((tio.c_iflag & IXON) != 0, c.flow == 1) << c.baud;
        EXPECT_EQ((tio.c_cflag & CRTSCTS) != 0, c.flow == 2) << c.baud;
        m_channel->Close();
    }
}

TEST_F(ChannelTest, ReconfigureReframesTheOpenPortAndKeepsItReading) {
    EXPECT_EQ(m_channel->Reconfigure(9600, 8, 0, 0, 0), std::errc::not_connected);
    OpenAndRun();
    const int probe = open(m_pty.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    // In the order find walks them: a pseudo-terminal keeps no parity enable
    // bit, so a step that changes only the stop bits behind a parity must
    // still be taken as one change.
    const struct {
        uint32_t baud;
        speed_t speed;
        uint8_t parity, stopBits;
    } steps[] = {{9600, B9600, 2, 0}, {9600, B9600, 2, 2}, {9600, B9600, 1, 2}, {460800, B460800, 0, 0}};
    for (const auto& step : steps) {
        ASSERT_FALSE(m_channel->Reconfigure(step.baud, 8, step.parity, step.stopBits, 0)) << step.baud;
        termios tio{};
        EXPECT_EQ(tcgetattr(probe, &tio), 0);
        EXPECT_EQ(cfgetospeed(&tio), step.speed);
        EXPECT_EQ((tio.c_iflag & INPCK) != 0 && (tio.c_iflag & IGNPAR) == 0, step.parity != 0);
        EXPECT_EQ((tio.c_cflag & PARODD) != 0, step.parity == 1);
        EXPECT_EQ((tio.c_cflag & CSTOPB) != 0, step.stopBits == 2);
    }
    close(probe);
    EXPECT_TRUE(m_channel->IsOpen());
    m_pty.Send("after");
    EXPECT_TRUE(Received("after"));
}

TEST(Channel, OpenRequiresSharedOwnership) {
    IoServiceExec exec;
    CSerialportMP channel(exec.IoContext());
    try {
        channel.Open("/dev/null", 9600, 8, 0, 0, 0);
        ADD_FAILURE() << "no exception";
    } catch (const std::runtime_error& e) {
        const std::string text = e.what();
        EXPECT_EQ(text.rfind("It seems like that instance is not created from shared_ptr: ", 0), 0u) << text;
        EXPECT_EQ(text.back(), '\n');
    }
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
    m_recorder.m_onWrite = [&] {
        if (++roundWrites == 5 && closer == Closer::WriteCallback) m_channel->Close();
    };
    m_recorder.m_onRead = [&](const std::vector<uint8_t>& data) {
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
            // For a bounded time: the writers may never leave the line idle.
            m_pty.Receive(SIZE_MAX, 10ms);
        }
    });

    for (int round = 0; round < 18; ++round) {
        closer = static_cast<Closer>(round % 3);
        roundReads = 0;
        roundWrites = 0;
        ASSERT_FALSE(Open(*m_channel)) << "round " << round;
        m_exec.Start(2);
        if (closer == Closer::Window)
            EXPECT_TRUE(WaitUntil([&] { return roundReads > 0 && roundWrites > 0; }, kDeadline)) << round;
        else
            EXPECT_TRUE(WaitUntil([&] { return !m_channel->IsOpen(); }, kDeadline)) << round;
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

}  // namespace
