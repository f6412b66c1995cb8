#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <system_error>
#include <vector>

#include "serial/PortName.h"

namespace asio {
class io_context;
}

class CSerialportMP;

// Errors that come from the operating system are in the system category
// (std::system_category: errno values on Linux, GetLastError values on
// Windows), so they compare equal to std::errc values where one fits;
// asio's own conditions (asio::error::eof) stay in asio's categories.

// Called for every completed read: the channel, a copy of the completion's
// error (changing it has no effect), the received bytes and their count. On an
// error there are no bytes, the count is 0 and no further read is started; a
// device that went away (an unplugged adapter, a closed pseudo-terminal
// master) ends reading with asio::error::eof or EIO.
using ReadCallback = std::function<void(std::shared_ptr<CSerialportMP>, std::error_code&,
                                        const std::vector<uint8_t>&, unsigned)>;
// Called for every completed write: the channel, a copy of the completion's
// error and the number of bytes written.
using WriteCallback = std::function<void(std::shared_ptr<CSerialportMP>, std::error_code&, unsigned)>;

// One serial port with a continuous background read and a bounded transmit
// queue that drains in chunks. All completions run on the workers of the
// executor whose context the channel was built on, one at a time (a strand).
//
// Must be owned by a std::shared_ptr: every outstanding operation holds one.
//
// Locks: the read lock is held across the read callback, the write lock
// across Write and across the write callback. So the write callback must not
// call Write; the read callback may. Either callback may call Close.
//
// asio stays behind the implementation: on Windows its headers bring the
// system's, whose macros would take the names of the windowing layer's
// constants in every file above that includes this one.
class CSerialportMP : public std::enable_shared_from_this<CSerialportMP> {
public:
    static constexpr std::size_t RX_BUFFER_SIZE = 65536;
    static constexpr std::size_t TX_QUEUE_CAPACITY = 4086;
    static constexpr std::size_t TX_CHUNK_SIZE = 1024;

    explicit CSerialportMP(asio::io_context& context);
    // Close(), then releases everything.
    virtual ~CSerialportMP();

    CSerialportMP(const CSerialportMP&) = delete;
    CSerialportMP& operator=(const CSerialportMP&) = delete;

    // Opens the port (a device path such as /dev/ttyUSB0 on Linux, a name
    // such as COM3 on Windows, opened in the system's own form), holds it exclusively,
    // discards what is pending in both directions and applies the settings.
    // parity: 0 none, 1 odd, 2 even; stopBits: 0 one, 1 one and a half, 2 two;
    // flowControl: 0 none, 1 software, 2 hardware.
    // Returns the empty code on success; then reading starts and bytes queued
    // while closed are sent. Otherwise the channel stays closed and the port
    // is released:
    //  - std::errc::device_or_resource_busy (generic category): this channel
    //    is already open; nothing is touched.
    //  - another opener holds the port: EBUSY on Linux, ERROR_ACCESS_DENIED
    //    on Windows (system category); on Linux also a port in another
    //    program's exclusive mode, or locked by its UUCP lock file
    //    (PortHeldByProcess, which names the process and compares equal to
    //    std::errc::device_or_resource_busy).
    //  - on Linux, a port that is not this program's to open (PortRefusalLinux):
    //    a stale virtual port link, the system console. Nothing is set on or
    //    written to such a port, nor to a busy one.
    //  - no such port: ENOENT, ERROR_FILE_NOT_FOUND; on Linux ENOTTY for a
    //    path that is not a terminal; any other system error of opening or of
    //    a setting the port refuses (std::errc::operation_not_supported for
    //    one and a half stop bits, which termios lacks).
    // Throws std::runtime_error when the channel is not owned by a
    // std::shared_ptr, std::out_of_range for values outside the ranges above
    // or a character size outside 5 to 8 (before anything is opened), and
    // std::system_error ("close") when the port cannot be closed again after
    // a refused setting.
    std::error_code Open(const PortName& port, uint32_t baud, uint8_t charSize, uint8_t parity,
                         uint8_t stopBits, uint8_t flowControl);

    // Applies new settings to the open port without closing it, so that
    // nothing settles in between (the values as Open takes them, checked the
    // same way). The empty code on success; std::errc::not_connected when
    // closed; the system's error for a setting the port refuses, after which
    // the port stays open with what it took.
    std::error_code Reconfigure(uint32_t baud, uint8_t charSize, uint8_t parity, uint8_t stopBits,
                                uint8_t flowControl);

    // Cancels the outstanding operations (their callbacks are not called),
    // closes the port, empties the transmit queue and waits 100 ms. Does
    // nothing when closed. Callable from any thread, also from inside either
    // callback.
    void Close();

    // Queues as many bytes as fit into the transmit queue and starts sending
    // them when open. Returns the number accepted (0 when the queue is full),
    // or 22 (EINVAL) when data is null or length is 0. Bytes queued while the
    // channel is closed are sent after the next successful Open.
    int Write(const uint8_t* data, unsigned length);
    // The same for a vector's bytes; an empty vector queues nothing.
    void Write(const std::vector<uint8_t>& data);

    bool IsOpen() const;

private:
    void DoRead();
    void DoWrite();
    bool IsCurrent(uint32_t opening) const;
    void HandleRead(uint32_t opening, const std::error_code& error, std::size_t bytes);
    void HandleWrite(uint32_t opening, const std::error_code& error, std::size_t bytes);
    std::size_t QueueLocked(const uint8_t* data, std::size_t length);

    std::atomic<bool> m_isOpen{false};
    // Counts the successful openings; an operation carries the one it was
    // started in.
    std::atomic<uint32_t> m_opening{0};
    std::vector<uint8_t> m_rxData;
    uint8_t m_readBuf[RX_BUFFER_SIZE] = {};
    std::vector<uint8_t> m_txQueue;
    uint8_t m_writeBuf[TX_CHUNK_SIZE] = {};
    bool m_writing = false;
    std::mutex m_readMutex;
    // Recursive so that Close, called from inside the write callback, can
    // empty the queue under the same lock that Write takes on other threads.
    std::recursive_mutex m_writeMutex;
    // Serialises every operation on m_port (open, start of a read or write,
    // cancel, close); asio's port object is not safe for concurrent use.
    // Innermost lock: nothing is called while it is held.
    std::mutex m_portMutex;
    // The port and the strand its completions run in.
    struct Io;
    std::unique_ptr<Io> m_io;

public:
    // Assigned by the owner before Open.
    ReadCallback m_readCallback;
    WriteCallback m_writeCallback;
};
