#include "tests/support/simhost/RemoteModule.h"

#include <asio/connect.hpp>
#include <asio/io_context.hpp>
#include <cstdlib>
#include <stdexcept>
#include <utility>

#include "sim/SimArgs.h"
#include "tests/support/simhost/SnapshotCodec.h"
#include "tests/support/simhost/Wire.h"

namespace tarnel::test {

using asio::ip::tcp;

struct RemoteModule::Connection {
    asio::io_context io;
    tcp::socket socket{io};
};

RemoteModule::RemoteModule(sim::SimConfig config, std::string host)
    : m_config(std::move(config)), m_host(std::move(host)) {}

RemoteModule::~RemoteModule() {
    Stop();
}

std::string RemoteModule::HostFromEnvironment() {
    const char* host = std::getenv("TARNEL_SIM_HOST");
    return host != nullptr ? host : "";
}

std::error_code RemoteModule::Start() {
    std::lock_guard lock(m_mutex);
    if (m_connection) return {};
    const std::size_t colon = m_host.rfind(':');
    if (colon == std::string::npos) return std::make_error_code(std::errc::destination_address_required);
    Fields request = sim::FormatSimArgs(m_config);
    request.insert(request.begin(), "start");
    auto connection = std::make_unique<Connection>();
    asio::error_code ec;
    tcp::resolver resolver(connection->io);
    asio::connect(connection->socket, resolver.resolve(m_host.substr(0, colon), m_host.substr(colon + 1), ec),
                  ec);
    if (ec) return ec;
    try {
        WriteFields(connection->socket, request);
        const Fields answer = ReadFields(connection->socket);
        if (answer.size() != 2 || answer[0] != "ok") return std::make_error_code(std::errc::invalid_argument);
        m_port = answer[1];
    } catch (const asio::system_error& e) {
        return e.code();
    }
    m_connection = std::move(connection);
    return {};
}

std::string RemoteModule::SlavePath() const {
    std::lock_guard lock(m_mutex);
    return m_port;
}

void RemoteModule::Unplug() {
    Ask({"unplug"});
}

void RemoteModule::Stop() {
    std::lock_guard lock(m_mutex);
    if (!m_connection) return;
    try {
        WriteFields(m_connection->socket, {"stop"});
        ReadFields(m_connection->socket);
    } catch (const asio::system_error&) {
        // The host has gone, and the module with it.
    }
    m_connection.reset();
    m_port.clear();
}

std::string RemoteModule::Received() const {
    const Fields answer = Ask({"received"});
    if (answer.size() != 1) throw std::runtime_error("tarnel-simhost: a malformed answer");
    return answer[0];
}

std::vector<std::string> RemoteModule::Commands() const {
    return Ask({"commands"});
}

sim::ModuleSnapshot RemoteModule::Snapshot() const {
    return DecodeSnapshot(Ask({"snapshot"}));
}

Fields RemoteModule::Ask(const Fields& request) const {
    std::lock_guard lock(m_mutex);
    if (!m_connection) throw std::runtime_error("the remote module was not started");
    WriteFields(m_connection->socket, request);
    Fields answer = ReadFields(m_connection->socket);
    if (answer.empty() || answer[0] != "ok")
        throw std::runtime_error("tarnel-simhost: " + (answer.size() > 1 ? answer[1] : "no answer"));
    answer.erase(answer.begin());
    return answer;
}

}  // namespace tarnel::test
