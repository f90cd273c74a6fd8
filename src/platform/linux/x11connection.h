#pragma once

#include <cstdlib>
#include <memory>
#include <xcb/xcb.h>

namespace platform {

// An xcb reply that frees itself.
template <typename T>
using XcbReply = std::unique_ptr<T, decltype(&std::free)>;

template <typename T>
XcbReply<T> owned(T *reply)
{
    return XcbReply<T>(reply, &std::free);
}

// A connection to the X server for the X11 backends: the application's own
// when Qt runs on X11, otherwise a connection of the backend's own to
// $DISPLAY. Holds nothing when there is no X server.
class X11Connection {
public:
    // Own: always a connection of the backend's own, even beside Qt's (its
    // answers then never pass through Qt's event reader thread).
    enum class Kind { sharedIfAny, own };
    explicit X11Connection(Kind kind = Kind::sharedIfAny);
    ~X11Connection();
    X11Connection(const X11Connection &) = delete;
    X11Connection &operator=(const X11Connection &) = delete;

    xcb_connection_t *get() const { return m_conn; }
    explicit operator bool() const { return m_conn != nullptr; }
    // True when the connection is Qt's: its events arrive through Qt's
    // native event filters. Otherwise the owner reads them itself.
    bool isShared() const { return m_conn && !m_owned; }
    xcb_window_t root() const { return m_root; }

private:
    xcb_connection_t *m_conn = nullptr;
    bool m_owned = false;
    xcb_window_t m_root = XCB_WINDOW_NONE;
};

} // namespace platform
