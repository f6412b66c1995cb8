#include "sim/PtyModule.h"

#include <poll.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <asio/io_context.hpp>
#include <asio/serial_port.hpp>
#include <asio/write.hpp>
#include <cerrno>

#include "tests/sim/ScopedRuntimeDir.h"
#include "tests/support/WaitUntil.h"

namespace tarnel::sim {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

const std::string kOk = "\r\nOK\r\n";
constexpr auto kDeadline = 5s;
// Long enough that an answer would have come, short enough to keep the suite quick.
constexpr auto kQuiet = 300ms;

// The program's side of the line: the slave opened and framed through asio,
// as the serial channel does it, and read through its descriptor.
class Host {
public:
    Host(const std::string& path, const LineSettings& line) {
        m_port.open(path);
        Frame(line);
    }

    void Frame(const LineSettings& line) {
        using asio::serial_port_base;
        m_port.set_option(serial_port_base::baud_rate(line.baud));
        m_port.set_option(serial_port_base::character_size(8));
        m_port.set_option(serial_port_base::parity(line.parity == 'E'   ? serial_port_base::parity::even
                                                   : line.parity == 'O' ? serial_port_base::parity::odd
                                                                        : serial_port_base::parity::none));
        m_port.set_option(serial_port_base::stop_bits(line.stopBits == 2 ? serial_port_base::stop_bits::two
                                                                         : serial_port_base::stop_bits::one));
    }

    void Send(const std::string& bytes) { asio::write(m_port, asio::buffer(bytes)); }

    // Reads until `needle` arrived or the deadline passed.
    std::string ReceiveUntil(const std::string& needle, std::chrono::milliseconds timeout = kDeadline) {
        std::string got;
        tarnel::test::WaitUntil(
            [&] {
                got += ReadAvailable(10);
                return got.find(needle) != std::string::npos;
            },
            timeout);
        return got;
    }

    // Reads until nothing came for `quiet`.
    std::string ReceiveIdle(std::chrono::milliseconds quiet = kQuiet) {
        std::string got;
        for (std::string more = ReadAvailable(static_cast<int>(quiet.count())); !more.empty();
             more = ReadAvailable(static_cast<int>(quiet.count())))
            got += more;
        return got;
    }

    // True once the far end has closed the line.
    bool HungUp() {
        pollfd p{m_port.native_handle(), POLLIN, 0};
        if (poll(&p, 1, 10) <= 0) return false;
        if ((p.revents & POLLHUP) != 0) return true;
        char byte;
        return read(m_port.native_handle(), &byte, 1) <= 0 && errno != EAGAIN;
    }

    void Close() { m_port.close(); }

private:
    std::string ReadAvailable(int waitMs) {
        pollfd p{m_port.native_handle(), POLLIN, 0};
        if (poll(&p, 1, waitMs) <= 0 || (p.revents & POLLIN) == 0) return {};
        char buf[512];
        const ssize_t n = read(m_port.native_handle(), buf, sizeof buf);
        return n > 0 ? std::string(buf, static_cast<std::size_t>(n)) : std::string();
    }

    asio::io_context m_io;
    asio::serial_port m_port{m_io};
};

SimConfig ModuleOn(const LineSettings& line) {
    SimConfig config;
    config.settings.uart.line = line;
    return config;
}

struct Framing {
    LineSettings module;
    LineSettings host;
    bool answered;
};

std::string Name(const LineSettings& line) {
    return std::to_string(line.baud) + line.parity + std::to_string(line.stopBits);
}

std::string FramingName(const ::testing::TestParamInfo<Framing>& info) {
    return "module" + Name(info.param.module) + "_host" + Name(info.param.host);
}

class PtyModuleFraming : public ::testing::TestWithParam<Framing> {};

TEST_P(PtyModuleFraming, AnswersOnlyWhenTheHostFramingMatches) {
    PtyModule sim(ModuleOn(GetParam().module));
    ASSERT_FALSE(sim.Start());
    Host host(sim.SlavePath(), GetParam().host);
    host.Send("AT\r");
    if (GetParam().answered) {
        EXPECT_EQ(host.ReceiveUntil(kOk), kOk);
        EXPECT_EQ(sim.Commands(), std::vector<std::string>{"AT"});
        return;
    }
    EXPECT_EQ(host.ReceiveIdle(), "");
    EXPECT_TRUE(sim.Commands().empty());
    EXPECT_EQ(sim.Received(), "AT\r");
    // The same port, framed right, is answered.
    host.Frame(GetParam().module);
    host.Send("AT\r");
    EXPECT_EQ(host.ReceiveUntil(kOk), kOk);
}

INSTANTIATE_TEST_SUITE_P(HostAgainstModule, PtyModuleFraming,
                         ::testing::Values(Framing{{9600, 'N', 1}, {9600, 'N', 1}, true},
                                           Framing{{9600, 'N', 1}, {19200, 'N', 1}, false},
                                           Framing{{115200, 'N', 1}, {115200, 'N', 1}, true},
                                           Framing{{9600, 'N', 1}, {9600, 'E', 1}, false},
                                           Framing{{9600, 'E', 1}, {9600, 'E', 1}, true},
                                           Framing{{9600, 'E', 1}, {9600, 'N', 1}, false},
                                           Framing{{9600, 'E', 1}, {9600, 'O', 1}, false},
                                           Framing{{9600, 'O', 2}, {9600, 'O', 2}, true},
                                           Framing{{9600, 'N', 1}, {9600, 'N', 2}, false}),
                         FramingName);

TEST(PtyModule, ResetPutsTheWrittenUartInForce) {
    PtyModule sim;
    ASSERT_FALSE(sim.Start());
    Host host(sim.SlavePath(), {9600, 'N', 1});
    host.Send("AT+UART=115200,E,1,0\r");
    EXPECT_EQ(host.ReceiveUntil(kOk), kOk);
    host.Send("AT\r");
    EXPECT_EQ(host.ReceiveUntil(kOk), kOk);
    host.Send("ATZ\r");
    EXPECT_EQ(host.ReceiveUntil(kOk), kOk);
    EXPECT_TRUE(tarnel::test::WaitUntil([&] { return sim.Snapshot().resets == 1; }, kDeadline));
    host.Send("AT\r");
    EXPECT_EQ(host.ReceiveIdle(), "");
    host.Frame({115200, 'E', 1});
    host.Send("AT+INFO2?\r");
    EXPECT_EQ(host.ReceiveUntil(kOk), "\r\n+INFO2,0,0,0,0,0\r\n" + kOk);
}

TEST(PtyModule, KeepsServingAcrossTheHostClosingAndReopening) {
    PtyModule sim;
    ASSERT_FALSE(sim.Start());
    {
        Host host(sim.SlavePath(), {9600, 'N', 1});
        host.Send("AT\r");
        EXPECT_EQ(host.ReceiveUntil(kOk), kOk);
    }
    Host again(sim.SlavePath(), {9600, 'N', 1});
    again.Send("AT+QM?\r");
    EXPECT_EQ(again.ReceiveUntil(kOk), "\r\n+QM,0\r\n" + kOk);
    EXPECT_TRUE(sim.Serving());
}

TEST(PtyModule, OutputWhileNobodyHasThePortOpenIsLost) {
    SimConfig config;
    config.devices = {{{0x00, 0x1B, 0xDC, 0x0F, 0x3A, 0x21}, "Speaker", -52, 0x240414, 50ms}};
    config.inquiryTime = 150ms;
    PtyModule sim(config);
    ASSERT_FALSE(sim.Start());
    {
        Host host(sim.SlavePath(), {9600, 'N', 1});
        host.Send("AT+INQ=60,1\r");
        ASSERT_TRUE(tarnel::test::WaitUntil([&] { return sim.Commands().size() == 1; }, kDeadline));
    }
    ASSERT_TRUE(
        tarnel::test::WaitUntil([&] { return sim.Snapshot().state == ModuleState::Idle; }, kDeadline));
    Host again(sim.SlavePath(), {9600, 'N', 1});
    EXPECT_EQ(again.ReceiveIdle(), "");
}

TEST(PtyModule, UnplugHangsUpTheHostAndKeepsWhatArrived) {
    test::ScopedRuntimeDir runtime;
    PtyModule sim;
    ASSERT_FALSE(sim.Start());
    fs::path link;
    ASSERT_FALSE(sim.Publish("unplugged", link));
    Host host(sim.SlavePath(), {9600, 'N', 1});
    host.Send("AT\r");
    EXPECT_EQ(host.ReceiveUntil(kOk), kOk);

    sim.Unplug();
    EXPECT_FALSE(sim.Serving());
    EXPECT_TRUE(tarnel::test::WaitUntil([&] { return host.HungUp(); }, kDeadline));
    EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
    EXPECT_EQ(sim.Received(), "AT\r");
}

TEST(PtyModule, HangUpKnobClosesTheLineAfterItsBytes) {
    SimConfig config;
    config.hangUpAfterBytes = 6;
    PtyModule sim(config);
    ASSERT_FALSE(sim.Start());
    Host host(sim.SlavePath(), {9600, 'N', 1});
    host.Send("AT\r");
    EXPECT_EQ(host.ReceiveUntil(kOk), kOk);
    host.Send("AT\r");
    EXPECT_TRUE(tarnel::test::WaitUntil([&] { return host.HungUp(); }, kDeadline));
    EXPECT_FALSE(sim.Serving());
    EXPECT_TRUE(sim.Snapshot().hungUp);
}

TEST(PtyModule, PublishesALinkThatOnlyOneModuleHoldsAndStopRemoves) {
    test::ScopedRuntimeDir runtime;
    PtyModule first;
    PtyModule second;
    fs::path link;
    EXPECT_EQ(first.Publish("early", link), std::errc::not_connected);
    ASSERT_FALSE(first.Start());
    ASSERT_FALSE(second.Start());
    ASSERT_FALSE(first.Publish("tarnel-sim", link));
    EXPECT_EQ(link, runtime.PortDir() / "tarnel-sim");
    EXPECT_EQ(fs::read_symlink(link), first.SlavePath());
    fs::path other;
    EXPECT_EQ(second.Publish("tarnel-sim", other), std::errc::file_exists);

    // The port opened through the link is the module.
    Host host(link.string(), {9600, 'N', 1});
    host.Send("AT\r");
    EXPECT_EQ(host.ReceiveUntil(kOk), kOk);

    fs::path renamed;
    ASSERT_FALSE(first.Publish("renamed", renamed));
    EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
    EXPECT_EQ(fs::read_symlink(renamed), first.SlavePath());

    first.Stop();
    EXPECT_FALSE(fs::exists(fs::symlink_status(renamed)));
    ASSERT_FALSE(second.Publish("tarnel-sim", other));
    EXPECT_EQ(fs::read_symlink(other), second.SlavePath());
}

TEST(PtyModule, InquiryReportsAndPeerConnectionReachTheHost) {
    SimConfig config;
    config.devices = {{{0x00, 0x1B, 0xDC, 0x0F, 0x3A, 0x21}, "거실 스피커", -52, 0x240414, 50ms}};
    config.inquiryTime = 200ms;
    PtyModule sim(config);
    ASSERT_FALSE(sim.Start());
    Host host(sim.SlavePath(), {9600, 'N', 1});
    host.Send("AT+INQ=60,1\r");
    EXPECT_EQ(host.ReceiveUntil(kOk), "\r\n+INQ,001BDC0F3A21,240414,-52,거실 스피커\r\n" + kOk);

    sim.ConnectPeer({0x74, 0xE5, 0x43, 0xB0, 0x19, 0xC7});
    EXPECT_EQ(host.ReceiveUntil("\r\n+CONN,74E543B019C7\r\n"), "\r\n+CONN,74E543B019C7\r\n");
    EXPECT_EQ(sim.Snapshot().state, ModuleState::Connected);
}

TEST(PtyModule, StopIsIdempotentAndStartServesAgain) {
    PtyModule idle;
    idle.Stop();
    EXPECT_FALSE(idle.Serving());
    EXPECT_EQ(idle.SlavePath(), "");

    PtyModule sim;
    ASSERT_FALSE(sim.Start());
    ASSERT_FALSE(sim.Start());
    EXPECT_TRUE(sim.Serving());
    sim.Stop();
    sim.Stop();
    EXPECT_FALSE(sim.Serving());

    // Started again, the same module serves on a new pair.
    ASSERT_FALSE(sim.Start());
    Host host(sim.SlavePath(), {9600, 'N', 1});
    host.Send("AT\r");
    EXPECT_EQ(host.ReceiveUntil(kOk), kOk);
    EXPECT_EQ(sim.Commands(), std::vector<std::string>{"AT"});
}

}  // namespace
}  // namespace tarnel::sim
