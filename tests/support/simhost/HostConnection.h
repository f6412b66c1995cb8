#pragma once

#include <memory>
#include <string>
#include <system_error>
#include <vector>

namespace tarnel::test {

// A connection to tarnel-simhost (see SimHost.h): a first request that has
// the host set something up, then requests answered in turn. Used from one
// thread at a time.
class HostConnection {
public:
    HostConnection();
    ~HostConnection();  // Close()
    HostConnection(const HostConnection&) = delete;
    HostConnection& operator=(const HostConnection&) = delete;

    // Connects to `host` ("ADDRESS:PORT") and sends `opening`. On success
    // `answer` holds the fields after the answer's "ok"; a refusal gives
    // std::errc::invalid_argument.
    std::error_code Open(const std::string& host, const std::vector<std::string>& opening,
                         std::vector<std::string>& answer);
    bool IsOpen() const;
    // Sends a request and returns the answer's fields after its "ok"; throws
    // std::runtime_error when the host refuses or does not answer.
    std::vector<std::string> Ask(const std::vector<std::string>& request);
    // Asks the host to stop what it set up, then closes. Nothing when closed.
    void Close();

    // $TARNEL_SIM_HOST: where test-windows.sh started the host.
    static std::string HostFromEnvironment();

private:
    // The socket, kept out of this header: asio's brings the Windows headers,
    // whose macros take the serial line's names.
    struct Socket;
    std::unique_ptr<Socket> m_socket;
};

}  // namespace tarnel::test
