#include "tests/support/simhost/SimHost.h"

#include <asio/ip/address_v4.hpp>
#include <asio/post.hpp>
#include <string>
#include <utility>

#include "sim/PtyModule.h"
#include "sim/SimArgs.h"
#include "tests/support/simhost/SnapshotCodec.h"
#include "tests/support/simhost/WinePortLink.h"
#include "tests/support/simhost/Wire.h"

namespace tarnel::test {
namespace {

using asio::ip::tcp;

Fields Ok(Fields rest = {}) {
    rest.insert(rest.begin(), "ok");
    return rest;
}

Fields Error(const std::string& why) {
    return {"error", why};
}

Fields Answer(sim::PtyModule& module, const Fields& request) {
    const std::string verb = request.empty() ? std::string() : request[0];
    if (verb == "commands") return Ok(module.Commands());
    if (verb == "received") return Ok({module.Received()});
    if (verb == "snapshot") return Ok(EncodeSnapshot(module.Snapshot()));
    if (verb == "unplug") {
        module.Unplug();
        return Ok();
    }
    return Error("unknown request '" + verb + "'");
}

void Serve(tcp::socket socket, const std::filesystem::path& ports) {
    const Fields start = ReadFields(socket);
    if (start.empty() || start[0] != "start")
        return WriteFields(socket, Error("the first request must be start"));
    const sim::SimArgs args = sim::ParseSimArgs(Fields(start.begin() + 1, start.end()));
    if (!args.error.empty()) return WriteFields(socket, Error(args.error));
    sim::PtyModule module(args.config);
    if (const std::error_code ec = module.Start()) return WriteFields(socket, Error(ec.message()));
    WinePortLink link;
    if (const std::error_code ec = link.Create(ports, module.SlavePath()))
        return WriteFields(socket, Error("no COM port: " + ec.message()));
    WriteFields(socket, Ok({link.PortName()}));
    for (Fields request; (request = ReadFields(socket)) != Fields{"stop"};)
        WriteFields(socket, Answer(module, request));
    // Gone before the answer, so that the client may count on the port being free.
    module.Stop();
    link.Remove();
    WriteFields(socket, Ok());
}

}  // namespace

SimHost::SimHost(std::filesystem::path ports, uint16_t port)
    : m_ports(std::move(ports)), m_acceptor(m_io, tcp::endpoint(asio::ip::address_v4::loopback(), port)) {
    m_port = m_acceptor.local_endpoint().port();
    Accept();
    m_thread = std::thread([this] { m_io.run(); });
}

SimHost::~SimHost() {
    asio::post(m_io, [this] { m_acceptor.close(); });
    m_thread.join();
    std::lock_guard lock(m_mutex);
    for (std::thread& session : m_sessions)
        session.join();
}

// The connection's blocking reads run on a thread of their own, so one slow
// client holds up no other.
void SimHost::Accept() {
    m_acceptor.async_accept([this](const asio::error_code& ec, tcp::socket socket) {
        if (ec) return;
        {
            std::lock_guard lock(m_mutex);
            m_sessions.emplace_back([this, socket = std::move(socket)]() mutable {
                try {
                    Serve(std::move(socket), m_ports);
                } catch (const std::exception&) {
                    // The client went: the module and its port go with Serve's locals.
                }
            });
        }
        Accept();
    });
}

}  // namespace tarnel::test
