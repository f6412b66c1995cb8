#include "tests/support/simhost/HostConnection.h"

#include <asio/connect.hpp>
#include <asio/io_context.hpp>
#include <cstdlib>
#include <stdexcept>

#include "tests/support/simhost/Wire.h"

namespace tarnel::test {

using asio::ip::tcp;

struct HostConnection::Socket {
    asio::io_context io;
    tcp::socket socket{io};
};

HostConnection::HostConnection() = default;

HostConnection::~HostConnection() {
    Close();
}

std::string HostConnection::HostFromEnvironment() {
    const char* host = std::getenv("TARNEL_SIM_HOST");
    return host != nullptr ? host : "";
}

std::error_code HostConnection::Open(const std::string& host, const Fields& opening, Fields& answer) {
    Close();
    const std::size_t colon = host.rfind(':');
    if (colon == std::string::npos) return std::make_error_code(std::errc::destination_address_required);
    auto connection = std::make_unique<Socket>();
    asio::error_code ec;
    tcp::resolver resolver(connection->io);
    asio::connect(connection->socket, resolver.resolve(host.substr(0, colon), host.substr(colon + 1), ec),
                  ec);
    if (ec) return ec;
    try {
        WriteFields(connection->socket, opening);
        answer = ReadFields(connection->socket);
    } catch (const asio::system_error& e) {
        return e.code();
    }
    if (answer.empty() || answer[0] != "ok") return std::make_error_code(std::errc::invalid_argument);
    answer.erase(answer.begin());
    m_socket = std::move(connection);
    return {};
}

bool HostConnection::IsOpen() const {
    return m_socket != nullptr;
}

Fields HostConnection::Ask(const Fields& request) {
    if (!m_socket) throw std::runtime_error("not connected to tarnel-simhost");
    WriteFields(m_socket->socket, request);
    Fields answer = ReadFields(m_socket->socket);
    if (answer.empty() || answer[0] != "ok")
        throw std::runtime_error("tarnel-simhost: " + (answer.size() > 1 ? answer[1] : "no answer"));
    answer.erase(answer.begin());
    return answer;
}

void HostConnection::Close() {
    if (!m_socket) return;
    try {
        WriteFields(m_socket->socket, {"stop"});
        ReadFields(m_socket->socket);
    } catch (const asio::system_error&) {
        // The host has gone, and what it set up with it.
    }
    m_socket.reset();
}

}  // namespace tarnel::test
