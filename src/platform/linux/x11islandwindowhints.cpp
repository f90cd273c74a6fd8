#include "platform/linux/x11islandwindowhints.h"

#include <QGuiApplication>
#include <QWindow>

#include <cstdlib>
#include <cstring>

namespace {
xcb_atom_t atom(xcb_connection_t *c, const char *name)
{
    xcb_intern_atom_reply_t *r = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, quint16(std::strlen(name)), name), nullptr);
    const xcb_atom_t a = r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(r);
    return a;
}
} // namespace

void X11IslandWindowHints::apply(QWindow *window, bool mapped)
{
    if (!m_conn || QGuiApplication::platformName() != QLatin1String("xcb") || !window)
        return;
    xcb_connection_t *c = m_conn.get();
    const xcb_window_t w = xcb_window_t(window->winId());
    const xcb_atom_t wmState = atom(c, "_NET_WM_STATE");
    const xcb_atom_t states[] = {
        atom(c, "_NET_WM_STATE_ABOVE"),
        atom(c, "_NET_WM_STATE_STICKY"),
        atom(c, "_NET_WM_STATE_SKIP_TASKBAR"),
        atom(c, "_NET_WM_STATE_SKIP_PAGER"),
    };
    const xcb_atom_t desktop = atom(c, "_NET_WM_DESKTOP");
    const quint32 allDesktops = 0xFFFFFFFF;

    if (!mapped) {
        // Merged with what Qt itself puts there before mapping.
        xcb_change_property(c, XCB_PROP_MODE_APPEND, w, wmState, XCB_ATOM_ATOM, 32, 4, states);
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, desktop, XCB_ATOM_CARDINAL, 32, 1, &allDesktops);
    } else {
        // A mapped window asks the window manager.
        auto send = [&](xcb_atom_t type, quint32 d0, quint32 d1, quint32 d2) {
            xcb_client_message_event_t ev;
            std::memset(&ev, 0, sizeof ev);
            ev.response_type = XCB_CLIENT_MESSAGE;
            ev.format = 32;
            ev.window = w;
            ev.type = type;
            ev.data.data32[0] = d0;
            ev.data.data32[1] = d1;
            ev.data.data32[2] = d2;
            ev.data.data32[3] = 1;
            xcb_send_event(c, 0, m_conn.root(),
                           XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                           reinterpret_cast<const char *>(&ev));
        };
        constexpr quint32 add = 1;
        send(wmState, add, states[0], states[1]);
        send(wmState, add, states[2], states[3]);
        send(desktop, allDesktops, 0, 0);
        // Without a window manager nobody answers: keep the properties right too.
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, desktop, XCB_ATOM_CARDINAL, 32, 1, &allDesktops);
    }
    xcb_flush(c);
}
