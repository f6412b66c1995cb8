#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tarnel::test {

// The device at the far end of a serial line, which a test scripts: the
// master side of a pseudo-terminal (PtyPair), or one that tarnel-simhost
// plays for a test under Wine (RemotePtyPair). SlavePath is what the code
// under test opens as its port.
class FarEnd {
public:
    FarEnd() = default;
    virtual ~FarEnd() = default;
    FarEnd(const FarEnd&) = delete;
    FarEnd& operator=(const FarEnd&) = delete;

    virtual const std::string& SlavePath() const = 0;

    // Writes all bytes to the port (the device sends them).
    virtual void Send(const std::string& bytes) = 0;
    virtual void Send(const std::vector<uint8_t>& bytes) = 0;

    // Reads what the port has sent until `count` bytes arrived or the
    // deadline passed; returns what arrived.
    virtual std::string Receive(std::size_t count, std::chrono::milliseconds timeout) = 0;
    // Reads whatever the port has sent until `quiet` passes with nothing new.
    virtual std::string ReceiveIdle(std::chrono::milliseconds quiet) = 0;
    // Reads until `needle` appears in what arrived or the deadline passes.
    virtual std::string ReceiveUntil(const std::string& needle, std::chrono::milliseconds timeout) = 0;

    // Goes away: to the port this looks like an unplugged device.
    virtual void Unplug() = 0;

    // Keeps the port's side open, so that the device survives while the code
    // under test has the port closed.
    virtual void HoldSlave() = 0;
};

}  // namespace tarnel::test
