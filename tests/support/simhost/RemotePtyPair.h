#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/simhost/HostConnection.h"

namespace tarnel::test {

// A scripted device at the far end of a serial line that tarnel-simhost
// plays on a pseudo-terminal (see SimHost.h), with the methods of PtyPair
// that tests use: a Windows test under Wine opens its port "COMnn". The host
// is $TARNEL_SIM_HOST. Throws std::runtime_error when the host does not
// answer. Used from one thread at a time.
class RemotePtyPair {
public:
    explicit RemotePtyPair(const std::string& host = HostConnection::HostFromEnvironment());

    const std::string& SlavePath() const { return m_port; }

    void Send(const std::string& bytes);
    void Send(const std::vector<uint8_t>& bytes);
    std::string Receive(std::size_t count, std::chrono::milliseconds timeout);
    std::string ReceiveIdle(std::chrono::milliseconds quiet);
    std::string ReceiveUntil(const std::string& needle, std::chrono::milliseconds timeout);
    void Unplug();
    void HoldSlave();

private:
    std::string AskBytes(const std::vector<std::string>& request);

    HostConnection m_connection;
    std::string m_port;
};

}  // namespace tarnel::test
