#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tarnel::test {

// A pseudo-terminal whose master side plays the device at the far end of a
// serial line. The slave's path is what the code under test opens as a port.
// The master is in raw mode and non-blocking.
class PtyPair {
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    const std::string& SlavePath() const { return m_slavePath; }
    int MasterFd() const { return m_master; }

    // Writes all bytes to the master side (the device sends them).
    void Send(const std::string& bytes);
    void Send(const std::vector<uint8_t>& bytes);

    // Reads what the port has sent until `count` bytes arrived or the
    // deadline passed; returns what arrived.
    std::string Receive(std::size_t count, std::chrono::milliseconds timeout);
    // Reads whatever the port has sent until `timeout` passes with nothing new.
    std::string ReceiveIdle(std::chrono::milliseconds quiet);
    // Reads until `needle` appears in what arrived or the deadline passes.
    std::string ReceiveUntil(const std::string& needle, std::chrono::milliseconds timeout);

    // Closes the master side: to the port this looks like an unplugged device.
    void Unplug();

    // Changes the slave's inode (its mode, to what it is) until its change
    // time is newer than that of the link `link` itself: to a check of ages,
    // the terminal was made after the link, as when its number was reused.
    // Returns false when that did not happen in time.
    bool RenewAfter(const std::string& link) const;

    // Keeps the slave side open, so that the master survives while the code
    // under test has the port closed (a closed slave makes master reads fail).
    void HoldSlave();

private:
    std::string ReceiveWhile(const std::function<bool(const std::string&)>& wanting,
                             std::chrono::milliseconds timeout);

    int m_master = -1;
    int m_heldSlave = -1;
    std::string m_slavePath;
};

}  // namespace tarnel::test
