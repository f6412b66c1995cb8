#include "tests/support/simhost/RemotePtyPair.h"

#include <stdexcept>
#include <system_error>

namespace tarnel::test {
namespace {

std::string Ms(std::chrono::milliseconds duration) {
    return std::to_string(duration.count());
}

}  // namespace

RemotePtyPair::RemotePtyPair(const std::string& host) {
    std::vector<std::string> answer;
    const std::error_code ec = m_connection.Open(host, {"pty"}, answer);
    if (ec || answer.size() != 1)
        throw std::runtime_error("tarnel-simhost at '" + host + "' gave no port: " + ec.message());
    m_port = answer[0];
}

void RemotePtyPair::Send(const std::string& bytes) {
    m_connection.Ask({"send", bytes});
}

void RemotePtyPair::Send(const std::vector<uint8_t>& bytes) {
    Send(std::string(bytes.begin(), bytes.end()));
}

std::string RemotePtyPair::Receive(std::size_t count, std::chrono::milliseconds timeout) {
    return AskBytes({"receive", std::to_string(count), Ms(timeout)});
}

std::string RemotePtyPair::ReceiveIdle(std::chrono::milliseconds quiet) {
    return AskBytes({"idle", Ms(quiet)});
}

std::string RemotePtyPair::ReceiveUntil(const std::string& needle, std::chrono::milliseconds timeout) {
    return AskBytes({"until", needle, Ms(timeout)});
}

void RemotePtyPair::Unplug() {
    m_connection.Ask({"unplug"});
}

void RemotePtyPair::HoldSlave() {
    m_connection.Ask({"hold"});
}

std::string RemotePtyPair::AskBytes(const std::vector<std::string>& request) {
    const std::vector<std::string> answer = m_connection.Ask(request);
    if (answer.size() != 1) throw std::runtime_error("tarnel-simhost: a malformed answer");
    return answer[0];
}

}  // namespace tarnel::test
