#include "tests/support/simhost/Wire.h"

#include <asio/read.hpp>
#include <asio/write.hpp>
#include <cstdint>

namespace tarnel::test {
namespace {

// Far above a session's whole traffic; a count past them is a broken stream.
constexpr uint32_t kMaxFields = 1u << 20;
constexpr uint32_t kMaxBytes = 64u << 20;

void PutSize(std::string& out, std::size_t size) {
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<char>(size >> shift & 0xFF));
}

uint32_t ReadSize(asio::ip::tcp::socket& socket, uint32_t limit) {
    unsigned char bytes[4];
    asio::read(socket, asio::buffer(bytes));
    const uint32_t size = bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<uint32_t>(bytes[3]) << 24;
    if (size > limit) throw asio::system_error(asio::error::message_size);
    return size;
}

}  // namespace

void WriteFields(asio::ip::tcp::socket& socket, const Fields& fields) {
    std::string out;
    PutSize(out, fields.size());
    for (const std::string& field : fields) {
        PutSize(out, field.size());
        out += field;
    }
    asio::write(socket, asio::buffer(out));
}

Fields ReadFields(asio::ip::tcp::socket& socket) {
    Fields fields(ReadSize(socket, kMaxFields));
    for (std::string& field : fields) {
        field.resize(ReadSize(socket, kMaxBytes));
        asio::read(socket, asio::buffer(field));
    }
    return fields;
}

}  // namespace tarnel::test
