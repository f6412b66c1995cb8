#include "bench/XPingProbe.h"

#include <poll.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

template <typename Reply>
using ReplyPtr = std::unique_ptr<Reply, decltype(&std::free)>;

template <typename Reply>
ReplyPtr<Reply> Owned(Reply* reply) {
    return ReplyPtr<Reply>(reply, &std::free);
}

}  // namespace

XPingProbe::XPingProbe() {
    int screenNumber = 0;
    m_connection = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(m_connection) != 0) return;
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(m_connection));
    for (int i = 0; i < screenNumber && screens.rem > 0; ++i)
        xcb_screen_next(&screens);
    if (screens.rem == 0) return;
    m_wmProtocols = Atom("WM_PROTOCOLS");
    m_netWmPing = Atom("_NET_WM_PING");
    m_netWmPid = Atom("_NET_WM_PID");
    // Answers go to the root window, for those who listen to its children
    // (GTK) or to the root window itself (Qt).
    const std::uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(m_connection, screens.data->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(m_connection);
    m_root = screens.data->root;
}

XPingProbe::~XPingProbe() {
    xcb_disconnect(m_connection);
}

std::uint32_t XPingProbe::Atom(const char* name) {
    auto reply = Owned(xcb_intern_atom_reply(
        m_connection, xcb_intern_atom(m_connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name),
        nullptr));
    return reply ? reply->atom : 0;
}

std::optional<std::uint32_t> XPingProbe::PidOf(std::uint32_t window) {
    auto reply = Owned(xcb_get_property_reply(
        m_connection, xcb_get_property(m_connection, 0, window, m_netWmPid, XCB_ATOM_CARDINAL, 0, 1),
        nullptr));
    if (!reply || xcb_get_property_value_length(reply.get()) != 4) return std::nullopt;
    return *static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
}

std::uint32_t XPingProbe::LargestWindowOf(pid_t pid) {
    auto tree = Owned(xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, m_root), nullptr));
    if (!tree) return 0;
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    std::uint32_t best = 0;
    int bestArea = 0;
    for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
        auto attributes = Owned(xcb_get_window_attributes_reply(
            m_connection, xcb_get_window_attributes(m_connection, children[i]), nullptr));
        if (!attributes || attributes->map_state != XCB_MAP_STATE_VIEWABLE) continue;
        if (PidOf(children[i]) != static_cast<std::uint32_t>(pid)) continue;
        auto geometry =
            Owned(xcb_get_geometry_reply(m_connection, xcb_get_geometry(m_connection, children[i]), nullptr));
        if (geometry && geometry->width * geometry->height > bestArea) {
            bestArea = geometry->width * geometry->height;
            best = children[i];
        }
    }
    return best;
}

bool XPingProbe::IsAnswer(const void* event, std::uint32_t serial) const {
    const auto* generic = static_cast<const xcb_generic_event_t*>(event);
    if ((generic->response_type & 0x7F) != XCB_CLIENT_MESSAGE) return false;
    const auto* message = static_cast<const xcb_client_message_event_t*>(event);
    return message->window == m_root && message->data.data32[0] == m_netWmPing &&
           message->data.data32[1] == serial;
}

std::optional<std::chrono::nanoseconds> XPingProbe::Ping(std::uint32_t window,
                                                         std::chrono::milliseconds timeout) {
    using Clock = std::chrono::steady_clock;
    xcb_client_message_event_t ping{};
    ping.response_type = XCB_CLIENT_MESSAGE;
    ping.format = 32;
    ping.window = window;
    ping.type = m_wmProtocols;
    ping.data.data32[0] = m_netWmPing;
    ping.data.data32[1] = ++m_serial;
    ping.data.data32[2] = window;
    const Clock::time_point sent = Clock::now();
    // No event mask: the event goes to the client that made the window.
    xcb_send_event(m_connection, 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&ping));
    xcb_flush(m_connection);
    const Clock::time_point deadline = sent + timeout;
    for (;;) {
        while (auto event = Owned(xcb_poll_for_event(m_connection))) {
            if (IsAnswer(event.get(), m_serial)) return Clock::now() - sent;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0 || xcb_connection_has_error(m_connection) != 0) return std::nullopt;
        pollfd readable{xcb_get_file_descriptor(m_connection), POLLIN, 0};
        poll(&readable, 1, static_cast<int>(left.count()) + 1);
    }
}
