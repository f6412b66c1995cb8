#include "serial/CSerialportMP.h"

#include "serial/PortAccess.h"

#include <asio/bind_executor.hpp>
#include <asio/buffer.hpp>
#include <asio/error.hpp>
#include <asio/io_context.hpp>
#include <asio/io_context_strand.hpp>
#include <asio/post.hpp>
#include <asio/serial_port.hpp>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <stdexcept>
#include <system_error>
#include <thread>

namespace {

// Lets the completions of the cancelled operations come in (and be dropped)
// before the owner goes on, typically to stop the executor.
constexpr auto kCloseSettleTime = std::chrono::milliseconds(100);

using PortBase = asio::serial_port_base;

// asio's enumerated options take a plain enum; a value outside it must not be
// cast into one, so it is rejected here the way asio rejects a bad size.
template <typename Option>
Option EnumOption(uint8_t value, const char* what) {
    if (value > 2) throw std::out_of_range(what);
    return Option(static_cast<typename Option::type>(value));
}

struct PortSettings {
    PortBase::baud_rate baud;
    PortBase::character_size charSize;
    PortBase::parity parity;
    PortBase::stop_bits stopBits;
    PortBase::flow_control flowControl;

    // All in one write: ChangeSettings says why.
    std::error_code ApplyTo(asio::serial_port& port) const {
        return ChangeSettings(port, [this](PortOptionStorage& storage) { return StoreTo(storage); });
    }

    std::error_code StoreTo(PortOptionStorage& storage) const {
        std::error_code error;
        baud.store(storage, error);
        if (!error) charSize.store(storage, error);
        if (!error) parity.store(storage, error);
        if (!error) stopBits.store(storage, error);
        if (!error) flowControl.store(storage, error);
        return error;
    }
};

// asio reports operating-system errors in a category of its own that knows
// few std::errc equivalents (not even ENOENT or EBUSY); owners compare with
// std::errc, so the channel hands them out in the system category.
std::error_code ToSystemCategory(const std::error_code& error) {
    return error.category() == asio::error::get_system_category()
               ? std::error_code(error.value(), std::system_category())
               : error;
}

PortSettings MakeSettings(uint32_t baud, uint8_t charSize, uint8_t parity, uint8_t stopBits,
                          uint8_t flowControl) {
    return {PortBase::baud_rate(baud), PortBase::character_size(charSize),
            EnumOption<PortBase::parity>(parity, "invalid parity value"),
            EnumOption<PortBase::stop_bits>(stopBits, "invalid stop_bits value"),
            EnumOption<PortBase::flow_control>(flowControl, "invalid flow_control value")};
}

}  // namespace

struct CSerialportMP::Io {
    explicit Io(asio::io_context& context) : m_port(context), m_strand(context) {}

    asio::serial_port m_port;
    asio::io_context::strand m_strand;
};

CSerialportMP::CSerialportMP(asio::io_context& context) : m_io(std::make_unique<Io>(context)) {}

CSerialportMP::~CSerialportMP() {
    Close();
}

std::error_code CSerialportMP::Open(const PortName& port, uint32_t baud, uint8_t charSize, uint8_t parity,
                                    uint8_t stopBits, uint8_t flowControl) {
    try {
        (void)shared_from_this();
    } catch (const std::exception& e) {
        throw std::runtime_error(std::string("It seems like that instance is not created from shared_ptr: ") +
                                 e.what() + "\n");
    }
    // Built before the port is opened, so that a value out of range throws
    // without leaving the port open.
    const PortSettings settings = MakeSettings(baud, charSize, parity, stopBits, flowControl);
    {
        std::lock_guard lock(m_portMutex);
        if (m_isOpen) return std::make_error_code(std::errc::device_or_resource_busy);
        if (auto error = OpenPort(m_io->m_port, port)) return ToSystemCategory(error);
        if (auto error = settings.ApplyTo(m_io->m_port)) {
            std::error_code closeError;
            ReleasePort(m_io->m_port, closeError);
            if (closeError) throw std::system_error(closeError, "close");
            return ToSystemCategory(error);
        }
        ++m_opening;
        m_isOpen = true;
    }
    auto self = shared_from_this();
    asio::post(m_io->m_port.get_executor(), [self] { self->DoRead(); });
    asio::post(m_io->m_port.get_executor(), [self] {
        std::lock_guard lock(self->m_writeMutex);
        self->DoWrite();
    });
    return {};
}

std::error_code CSerialportMP::Reconfigure(uint32_t baud, uint8_t charSize, uint8_t parity, uint8_t stopBits,
                                           uint8_t flowControl) {
    const PortSettings settings = MakeSettings(baud, charSize, parity, stopBits, flowControl);
    std::lock_guard lock(m_portMutex);
    if (!m_isOpen) return std::make_error_code(std::errc::not_connected);
    return ToSystemCategory(settings.ApplyTo(m_io->m_port));
}

void CSerialportMP::Close() {
    {
        // Under the port lock, so that a Close racing this one returns only
        // once the port is released.
        std::lock_guard lock(m_portMutex);
        if (!m_isOpen.exchange(false)) return;
        std::error_code ignored;
        m_io->m_port.cancel(ignored);
        ReleasePort(m_io->m_port, ignored);
    }
    {
        std::lock_guard lock(m_writeMutex);
        m_txQueue.clear();
    }
    std::this_thread::sleep_for(kCloseSettleTime);
    std::lock_guard lock(m_writeMutex);
    m_writing = false;
}

int CSerialportMP::Write(const uint8_t* data, unsigned length) {
    if (data == nullptr || length == 0) return EINVAL;
    std::lock_guard lock(m_writeMutex);
    return static_cast<int>(QueueLocked(data, length));
}

void CSerialportMP::Write(const std::vector<uint8_t>& data) {
    std::lock_guard lock(m_writeMutex);
    QueueLocked(data.data(), data.size());
}

bool CSerialportMP::IsOpen() const {
    return m_isOpen;
}

std::size_t CSerialportMP::QueueLocked(const uint8_t* data, std::size_t length) {
    if (m_txQueue.size() >= TX_QUEUE_CAPACITY) return 0;
    const std::size_t n = std::min(length, TX_QUEUE_CAPACITY - m_txQueue.size());
    m_txQueue.insert(m_txQueue.end(), data, data + n);
    DoWrite();
    return n;
}

void CSerialportMP::DoRead() {
    std::lock_guard lock(m_portMutex);
    if (!m_isOpen) return;
    m_io->m_port.async_read_some(
        asio::buffer(m_readBuf),
        asio::bind_executor(m_io->m_strand, [self = shared_from_this(), opening = m_opening.load()](
                                                const std::error_code& error, std::size_t bytes) {
            self->HandleRead(opening, error, bytes);
        }));
}

void CSerialportMP::DoWrite() {
    std::lock_guard lock(m_portMutex);
    if (!m_isOpen || m_writing) return;
    const std::size_t n = std::min(m_txQueue.size(), TX_CHUNK_SIZE);
    if (n == 0) return;
    std::copy_n(m_txQueue.begin(), n, m_writeBuf);
    m_io->m_port.async_write_some(
        asio::buffer(m_writeBuf, n),
        asio::bind_executor(m_io->m_strand, [self = shared_from_this(), opening = m_opening.load()](
                                                const std::error_code& error, std::size_t bytes) {
            self->HandleWrite(opening, error, bytes);
        }));
    m_writing = true;
}

// A completion belongs to the opening that started its operation. One of an
// earlier opening can still come: an executor whose workers had run out of
// work (reading ends at an error) keeps what completes afterwards until it is
// started again, for the next opening.
bool CSerialportMP::IsCurrent(uint32_t opening) const {
    return m_isOpen && opening == m_opening;
}

void CSerialportMP::HandleRead(uint32_t opening, const std::error_code& error, std::size_t bytes) {
    std::lock_guard lock(m_readMutex);
    if (!IsCurrent(opening)) return;
    if (!error) m_rxData.insert(m_rxData.end(), m_readBuf, m_readBuf + bytes);
    if (m_readCallback) {
        std::error_code errorCopy = ToSystemCategory(error);
        m_readCallback(shared_from_this(), errorCopy, m_rxData, static_cast<unsigned>(m_rxData.size()));
    }
    m_rxData.clear();
    if (!error) DoRead();
}

void CSerialportMP::HandleWrite(uint32_t opening, const std::error_code& error, std::size_t bytes) {
    std::lock_guard lock(m_writeMutex);
    if (!IsCurrent(opening)) return;
    if (m_writeCallback) {
        std::error_code errorCopy = ToSystemCategory(error);
        m_writeCallback(shared_from_this(), errorCopy, static_cast<unsigned>(bytes));
    }
    if (bytes != 0 && m_txQueue.size() >= bytes)
        m_txQueue.erase(m_txQueue.begin(), m_txQueue.begin() + static_cast<std::ptrdiff_t>(bytes));
    m_writing = false;
    if (!error && !m_txQueue.empty()) DoWrite();
}
