#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <optional>

struct xcb_connection_t;

// Asks a program's top-level window whether its event loop answers: the
// window manager's _NET_WM_PING, which Qt and GTK answer from the thread that
// runs their windows by sending the message back to the root window. The
// round trip is how long that thread kept the window from answering input.
// Connects to $DISPLAY.
class XPingProbe {
public:
    XPingProbe();
    ~XPingProbe();
    XPingProbe(const XPingProbe&) = delete;
    XPingProbe& operator=(const XPingProbe&) = delete;

    bool Connected() const { return m_root != 0; }
    // The largest viewable top-level window that process `pid` put up, 0 if
    // there is none.
    std::uint32_t LargestWindowOf(pid_t pid);
    // One ping to `window`; the time until its answer, nothing if none came
    // within `timeout`.
    std::optional<std::chrono::nanoseconds> Ping(std::uint32_t window, std::chrono::milliseconds timeout);

private:
    std::uint32_t Atom(const char* name);
    std::optional<std::uint32_t> PidOf(std::uint32_t window);
    bool IsAnswer(const void* event, std::uint32_t serial) const;

    xcb_connection_t* m_connection = nullptr;
    std::uint32_t m_root = 0;
    std::uint32_t m_wmProtocols = 0;
    std::uint32_t m_netWmPing = 0;
    std::uint32_t m_netWmPid = 0;
    std::uint32_t m_serial = 0;
};
