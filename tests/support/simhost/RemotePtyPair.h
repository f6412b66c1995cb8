#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/FarEnd.h"
#include "tests/support/simhost/HostConnection.h"

namespace tarnel::test {

// A scripted device that tarnel-simhost plays on a pseudo-terminal (see
// SimHost.h): a Windows test under Wine opens its port "COMnn". The host is
// $TARNEL_SIM_HOST. Throws std::runtime_error when the host does not answer.
// Used from one thread at a time.
class RemotePtyPair : public FarEnd {
public:
    explicit RemotePtyPair(const std::string& host = HostConnection::HostFromEnvironment());

    const std::string& SlavePath() const override { return m_port; }

    void Send(const std::string& bytes) override;
    void Send(const std::vector<uint8_t>& bytes) override;
    std::string Receive(std::size_t count, std::chrono::milliseconds timeout) override;
    std::string ReceiveIdle(std::chrono::milliseconds quiet) override;
    std::string ReceiveUntil(const std::string& needle, std::chrono::milliseconds timeout) override;
    void Unplug() override;
    void HoldSlave() override;

private:
    std::string AskBytes(const std::vector<std::string>& request);

    HostConnection m_connection;
    std::string m_port;
};

}  // namespace tarnel::test
