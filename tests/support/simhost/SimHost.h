#pragma once

#include <asio/io_context.hpp>
#include <asio/ip/tcp.hpp>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <thread>
#include <vector>

namespace tarnel::test {

// Serves simulated modules over TCP on 127.0.0.1, one per connection, for a
// Windows program under Wine, which cannot open a pseudo-terminal but opens
// a COM port that a Wine prefix links to one.
//
// A connection's first message is {"start", tarnel-sim's flags...}: the host
// starts a sim::PtyModule so configured, links a free COM port of the prefix
// to it and answers {"ok", "COMnn"}. Then, each answered by {"ok", ...}:
//   {"commands"}  -> the command lines received
//   {"received"}  -> every byte received, in one field
//   {"snapshot"}  -> EncodeSnapshot's fields
//   {"unplug"}    -> the module's side closes, as a pulled cable
//   {"stop"}      -> the module stops and its port goes; the connection ends
// A connection that opens with {"pty"} gets a scripted device instead: a
// tests/support/PtyPair whose slave the COM port opens. Its requests:
//   {"send", BYTES}                 -> the device sends them
//   {"receive", COUNT, MS}          -> PtyPair::Receive's bytes
//   {"idle", MS}                    -> PtyPair::ReceiveIdle's
//   {"until", NEEDLE, MS}           -> PtyPair::ReceiveUntil's
//   {"unplug"}, {"hold"}            -> PtyPair::Unplug, HoldSlave
//   {"stop"}                        -> as for a module
// Any failure is answered {"error", why}. A connection that closes stops its
// module or device and removes its port.
class SimHost {
public:
    // `ports` is the prefix's dosdevices folder; `port` 0 takes a free one.
    // Throws asio::system_error when it cannot listen.
    SimHost(std::filesystem::path ports, uint16_t port = 0);
    // Stops accepting and waits for the open connections to close.
    ~SimHost();
    SimHost(const SimHost&) = delete;
    SimHost& operator=(const SimHost&) = delete;

    uint16_t Port() const { return m_port; }

private:
    void Accept();

    const std::filesystem::path m_ports;
    asio::io_context m_io;
    asio::ip::tcp::acceptor m_acceptor;
    uint16_t m_port = 0;
    std::mutex m_mutex;  // guards m_sessions
    std::vector<std::thread> m_sessions;
    std::thread m_thread;
};

}  // namespace tarnel::test
