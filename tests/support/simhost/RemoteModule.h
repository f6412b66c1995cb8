#pragma once

#include <mutex>
#include <string>
#include <system_error>
#include <vector>

#include "sim/ModuleSnapshot.h"
#include "sim/SimConfig.h"
#include "tests/support/simhost/HostConnection.h"

namespace tarnel::test {

// A simulated module that tarnel-simhost serves (see SimHost.h), with the
// methods of sim::PtyModule that tests use: a Windows test under Wine opens
// its port "COMnn" as the program opens a real one.
//
// The host is "ADDRESS:PORT", by default $TARNEL_SIM_HOST. The queries throw
// std::runtime_error when the host does not answer. Every method may be
// called from any thread.
class RemoteModule {
public:
    explicit RemoteModule(sim::SimConfig config = {},
                          std::string host = HostConnection::HostFromEnvironment());
    ~RemoteModule();  // Stop()
    RemoteModule(const RemoteModule&) = delete;
    RemoteModule& operator=(const RemoteModule&) = delete;

    // Connects and has the host start the module. An empty code is success;
    // a call while serving does nothing; a call after Stop serves the
    // configuration anew.
    std::error_code Start();
    // "COMnn"; empty before Start.
    std::string SlavePath() const;
    // The module's side closes as a pulled cable; what it received stays
    // readable.
    void Unplug();
    // The module stops and its port goes. Idempotent.
    void Stop();

    std::string Received() const;
    std::vector<std::string> Commands() const;
    sim::ModuleSnapshot Snapshot() const;

private:
    std::vector<std::string> Ask(const std::vector<std::string>& request) const;

    const sim::SimConfig m_config;
    const std::string m_host;
    mutable std::mutex m_mutex;  // guards the connection and m_port
    mutable HostConnection m_connection;
    std::string m_port;
};

}  // namespace tarnel::test
