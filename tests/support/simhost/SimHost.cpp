#include "tests/support/simhost/SimHost.h"

#include <asio/ip/address_v4.hpp>
#include <asio/post.hpp>
#include <chrono>
#include <functional>
#include <string>
#include <utility>

#include "sim/PtyModule.h"
#include "sim/SimArgs.h"
#include "tests/support/PtyPair.h"
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
    const std::string& verb = request.at(0);
    if (verb == "commands") return Ok(module.Commands());
    if (verb == "received") return Ok({module.Received()});
    if (verb == "snapshot") return Ok(EncodeSnapshot(module.Snapshot()));
    if (verb == "unplug") {
        module.Unplug();
        return Ok();
    }
    return Error("unknown request '" + verb + "'");
}

std::chrono::milliseconds Ms(const std::string& text) {
    return std::chrono::milliseconds(std::stoll(text));
}

Fields AnswerPeer(PtyPair& pty, const Fields& request) {
    const std::string& verb = request.at(0);
    if (verb == "send") {
        pty.Send(request.at(1));
        return Ok();
    }
    if (verb == "receive") return Ok({pty.Receive(std::stoul(request.at(1)), Ms(request.at(2)))});
    if (verb == "idle") return Ok({pty.ReceiveIdle(Ms(request.at(1)))});
    if (verb == "until") return Ok({pty.ReceiveUntil(request.at(1), Ms(request.at(2)))});
    if (verb == "unplug") {
        pty.Unplug();
        return Ok();
    }
    if (verb == "hold") {
        pty.HoldSlave();
        return Ok();
    }
    return Error("unknown request '" + verb + "'");
}

// Links a free COM port to `device` and answers with its name, then answers
// requests until "stop".
void Session(tcp::socket& socket, const std::filesystem::path& ports, const std::string& device,
             const std::function<Fields(const Fields&)>& answer, const std::function<void()>& stop) {
    WinePortLink link;
    if (const std::error_code ec = link.Create(ports, device))
        return WriteFields(socket, Error("no COM port: " + ec.message()));
    WriteFields(socket, Ok({link.PortName()}));
    for (Fields request; (request = ReadFields(socket)) != Fields{"stop"};)
        WriteFields(socket, answer(request));
    // Gone before the answer, so that the client may count on the port being free.
    stop();
    link.Remove();
    WriteFields(socket, Ok());
}

void Serve(tcp::socket socket, const std::filesystem::path& ports) {
    const Fields opening = ReadFields(socket);
    if (opening == Fields{"pty"}) {
        PtyPair pty;
        return Session(
            socket, ports, pty.SlavePath(), [&](const Fields& r) { return AnswerPeer(pty, r); },
            [&] { pty.Unplug(); });
    }
    if (opening.empty() || opening[0] != "start")
        return WriteFields(socket, Error("the first request must be start or pty"));
    const sim::SimArgs args = sim::ParseSimArgs(Fields(opening.begin() + 1, opening.end()));
    if (!args.error.empty()) return WriteFields(socket, Error(args.error));
    sim::PtyModule module(args.config);
    if (const std::error_code ec = module.Start()) return WriteFields(socket, Error(ec.message()));
    Session(
        socket, ports, module.SlavePath(), [&](const Fields& r) { return Answer(module, r); },
        [&] { module.Stop(); });
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
