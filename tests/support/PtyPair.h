#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tests/support/FarEnd.h"

namespace tarnel::test {

// A pseudo-terminal whose master side plays the device at the far end of a
// serial line; the slave's path is the port. The master is in raw mode and
// non-blocking. Unplug closes the master side; HoldSlave keeps the slave open
// (a closed slave makes master reads fail).
class PtyPair : public FarEnd {
public:
    PtyPair();
    ~PtyPair() override;

    const std::string& SlavePath() const override { return m_slavePath; }
    int MasterFd() const { return m_master; }

    void Send(const std::string& bytes) override;
    void Send(const std::vector<uint8_t>& bytes) override;
    std::string Receive(std::size_t count, std::chrono::milliseconds timeout) override;
    std::string ReceiveIdle(std::chrono::milliseconds quiet) override;
    std::string ReceiveUntil(const std::string& needle, std::chrono::milliseconds timeout) override;
    void Unplug() override;

    // Changes the slave's inode (its mode, to what it is) until its change
    // time is newer than that of the link `link` itself: to a check of ages,
    // the terminal was made after the link, as when its number was reused.
    // Returns false when that did not happen in time.
    bool RenewAfter(const std::string& link) const;

    void HoldSlave() override;

private:
    std::string ReceiveWhile(const std::function<bool(const std::string&)>& wanting,
                             std::chrono::milliseconds timeout);

    int m_master = -1;
    int m_heldSlave = -1;
    std::string m_slavePath;
};

}  // namespace tarnel::test
