#include "tests/support/simhost/RemoteModule.h"

#include <stdexcept>
#include <utility>

#include "sim/SimArgs.h"
#include "tests/support/simhost/SnapshotCodec.h"

namespace tarnel::test {

RemoteModule::RemoteModule(sim::SimConfig config, std::string host)
    : m_config(std::move(config)), m_host(std::move(host)) {}

RemoteModule::~RemoteModule() {
    Stop();
}

std::error_code RemoteModule::Start() {
    std::lock_guard lock(m_mutex);
    if (m_connection.IsOpen()) return {};
    Fields request = sim::FormatSimArgs(m_config);
    request.insert(request.begin(), "start");
    Fields answer;
    if (const std::error_code ec = m_connection.Open(m_host, request, answer)) return ec;
    if (answer.size() != 1) {
        m_connection.Close();
        return std::make_error_code(std::errc::protocol_error);
    }
    m_port = answer[0];
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
    m_connection.Close();
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
    return m_connection.Ask(request);
}

}  // namespace tarnel::test
