// The host that serves simulated modules to Windows tests under Wine, driven
// through RemoteModule as those tests drive it.

#include "tests/support/simhost/SimHost.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>

#include "tests/support/TempDir.h"
#include "tests/support/WaitUntil.h"
#include "tests/support/simhost/RemoteModule.h"
#include "tests/support/simhost/RemotePtyPair.h"
#include "tests/support/simhost/SnapshotCodec.h"

namespace tarnel::test {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

// Reads from `fd` until `needle` arrived or five seconds passed.
std::string ReadUntil(int fd, const std::string& needle) {
    std::string got;
    WaitUntil(
        [&] {
            char buf[256];
            for (ssize_t n; (n = read(fd, buf, sizeof buf)) > 0;)
                got.append(buf, static_cast<std::size_t>(n));
            return got.find(needle) != std::string::npos;
        },
        5s);
    return got;
}

bool HungUp(int fd) {
    pollfd p{fd, POLLIN, 0};
    return poll(&p, 1, 0) == 1 && (p.revents & POLLHUP) != 0;
}

TEST(SimHost, ServesEachConnectionAModuleOnAComPortOfItsOwn) {
    const TempDir prefix("tarnel-simhost");
    const fs::path ports = prefix.Path() / "dosdevices";
    fs::create_directory(ports);
    fs::create_symlink("/dev/null", ports / "com20");  // a port the prefix has already
    SimHost host(ports);
    const std::string address = "127.0.0.1:" + std::to_string(host.Port());

    sim::SimConfig config;
    config.settings.name = "Remote 1";
    config.errorCommands = {"AT+VER?"};
    RemoteModule module(config, address);
    ASSERT_FALSE(module.Start());
    ASSERT_EQ(module.SlavePath(), "COM21");
    const fs::path link = ports / "com21";
    const int fd = open(link.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(write(fd, "AT\rAT+VER?\r", 11), 11);
    EXPECT_EQ(ReadUntil(fd, "ERROR\r\n"), "\r\nOK\r\n\r\nERROR\r\n");
    EXPECT_EQ(module.Commands(), (std::vector<std::string>{"AT", "AT+VER?"}));
    EXPECT_EQ(module.Received(), "AT\rAT+VER?\r");
    const sim::ModuleSnapshot snapshot = module.Snapshot();
    EXPECT_EQ(snapshot.current.name, "Remote 1");
    EXPECT_EQ(snapshot.written, snapshot.current);
    EXPECT_EQ(snapshot.hostLine, (LineSettings{9600, 'N', 1}));
    EXPECT_TRUE(snapshot.hostLineMatches);
    EXPECT_EQ(snapshot.commands, module.Commands());

    auto other = std::make_unique<RemoteModule>(sim::SimConfig{}, address);
    ASSERT_FALSE(other->Start());
    EXPECT_EQ(other->SlavePath(), "COM22");
    EXPECT_TRUE(other->Commands().empty());

    module.Unplug();
    EXPECT_TRUE(WaitUntil([&] { return HungUp(fd); }, 5s));
    EXPECT_EQ(module.Received(), "AT\rAT+VER?\r");
    close(fd);
    module.Stop();
    EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
    EXPECT_THROW(module.Commands(), std::runtime_error);
    other.reset();
    RemoteModule third({}, address);
    ASSERT_FALSE(third.Start());
    EXPECT_EQ(third.SlavePath(), "COM21");

    sim::SimConfig bad;
    bad.settings.opMode = 4;
    EXPECT_EQ(RemoteModule(bad, address).Start(), std::errc::invalid_argument);
    EXPECT_TRUE(RemoteModule(config, "127.0.0.1:1").Start());
}

TEST(SimHost, PlaysAScriptedDeviceOnAComPort) {
    const TempDir prefix("tarnel-simhost");
    const fs::path ports = prefix.Path() / "dosdevices";
    fs::create_directory(ports);
    SimHost host(ports);
    RemotePtyPair device("127.0.0.1:" + std::to_string(host.Port()));
    ASSERT_EQ(device.SlavePath(), "COM20");
    const int fd = open((ports / "com20").c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    device.HoldSlave();
    ASSERT_EQ(write(fd, "AT\r", 3), 3);
    EXPECT_EQ(device.Receive(3, 5s), "AT\r");
    ASSERT_EQ(write(fd, "ping", 4), 4);
    EXPECT_EQ(device.ReceiveUntil("ng", 5s), "ping");
    EXPECT_EQ(device.ReceiveIdle(100ms), "");
    device.Send(std::vector<uint8_t>{'h', 0, 'i'});
    EXPECT_EQ(ReadUntil(fd, "i"), std::string("h\0i", 3));
    device.Unplug();
    EXPECT_TRUE(WaitUntil([&] { return HungUp(fd); }, 5s));
    close(fd);
}

TEST(SimHost, SnapshotsCrossTheWireWhole) {
    sim::ModuleSnapshot sent;
    sent.current = {"거실", {{115200, 'E', 2}, 1}, 3, true, {1, 2, 3, 4, 5, 6}};
    sent.written.opMode = 2;
    sent.state = sim::ModuleState::Connected;
    sent.peer = {6, 5, 4, 3, 2, 1};
    sent.dataMode = true;
    sent.hungUp = true;
    sent.resets = 2;
    sent.factoryResets = 3;
    sent.received = std::string("AT\r\0\xFF", 5);
    sent.commands = {"AT", ""};
    for (const std::optional<LineSettings>& hostLine :
         {std::optional<LineSettings>(), std::optional(LineSettings{4800, 'O', 1})}) {
        sent.hostLine = hostLine;
        sent.hostLineMatches = hostLine.has_value();
        const sim::ModuleSnapshot got = DecodeSnapshot(EncodeSnapshot(sent));
        EXPECT_EQ(got.current, sent.current);
        EXPECT_EQ(got.written, sent.written);
        EXPECT_EQ(got.state, sent.state);
        EXPECT_EQ(got.peer, sent.peer);
        EXPECT_EQ(got.dataMode, sent.dataMode);
        EXPECT_EQ(got.hostLine, sent.hostLine);
        EXPECT_EQ(got.hostLineMatches, sent.hostLineMatches);
        EXPECT_EQ(got.hungUp, sent.hungUp);
        EXPECT_EQ(got.resets, sent.resets);
        EXPECT_EQ(got.factoryResets, sent.factoryResets);
        EXPECT_EQ(got.received, sent.received);
        EXPECT_EQ(got.commands, sent.commands);
    }
    EXPECT_THROW(DecodeSnapshot({"Tarnel", "9600"}), std::invalid_argument);
}

}  // namespace
}  // namespace tarnel::test
