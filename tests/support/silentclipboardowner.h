#pragma once

#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>

// Another program that takes the X clipboard (or another selection) and
// never answers a request for it, over an X connection of its own, for as
// long as the object lives.
class SilentClipboardOwner {
public:
    explicit SilentClipboardOwner(const char *name = "CLIPBOARD") : m_conn(xcb_connect(nullptr, nullptr))
    {
        auto *reply = xcb_intern_atom_reply(m_conn, xcb_intern_atom(m_conn, 0, uint16_t(std::strlen(name)), name), nullptr);
        const xcb_window_t window = xcb_generate_id(m_conn);
        xcb_create_window(m_conn, XCB_COPY_FROM_PARENT, window,
                          xcb_setup_roots_iterator(xcb_get_setup(m_conn)).data->root, 0, 0, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
        if (reply)
            xcb_set_selection_owner(m_conn, window, reply->atom, XCB_CURRENT_TIME);
        std::free(reply);
        // Owner once the constructor returns: the server has done the above.
        std::free(xcb_get_input_focus_reply(m_conn, xcb_get_input_focus(m_conn), nullptr));
    }
    ~SilentClipboardOwner() { xcb_disconnect(m_conn); }
    SilentClipboardOwner(const SilentClipboardOwner &) = delete;
    SilentClipboardOwner &operator=(const SilentClipboardOwner &) = delete;

private:
    xcb_connection_t *m_conn;
};
