#pragma once

// The messages between a simulated module's host and its remote user: a
// list of byte strings, each request answered by one message that starts
// with "ok" or "error".

#include <asio/ip/tcp.hpp>
#include <string>
#include <vector>

namespace tarnel::test {

using Fields = std::vector<std::string>;

// Both throw asio::system_error when the connection fails or closes; a
// message larger than the wire allows closes it too.
void WriteFields(asio::ip::tcp::socket& socket, const Fields& fields);
Fields ReadFields(asio::ip::tcp::socket& socket);

}  // namespace tarnel::test
