#include "platform/linux/ewmhworkspace.h"

#include <QCoreApplication>

#include <cstdlib>
#include <cstring>

namespace platform {

EwmhWorkspace::EwmhWorkspace()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return;
    m_conn = xcb_connect(nullptr, &m_screen);
    if (xcb_connection_has_error(m_conn)) {
        xcb_disconnect(m_conn);
        m_conn = nullptr;
        return;
    }
    xcb_intern_atom_cookie_t *cookies = xcb_ewmh_init_atoms(m_conn, &m_ewmh);
    m_ready = xcb_ewmh_init_atoms_replies(&m_ewmh, cookies, nullptr);
}

EwmhWorkspace::~EwmhWorkspace()
{
    if (m_ready)
        xcb_ewmh_connection_wipe(&m_ewmh);
    if (m_conn)
        xcb_disconnect(m_conn);
}

QList<platform::WorkspaceWindow> EwmhWorkspace::windows() const
{
    QList<platform::WorkspaceWindow> out;
    if (!m_ready)
        return out;
    auto *ewmh = const_cast<xcb_ewmh_connection_t *>(&m_ewmh);
    xcb_ewmh_get_windows_reply_t list;
    if (!xcb_ewmh_get_client_list_stacking_reply(ewmh, xcb_ewmh_get_client_list_stacking(ewmh, m_screen), &list, nullptr)
        && !xcb_ewmh_get_client_list_reply(ewmh, xcb_ewmh_get_client_list(ewmh, m_screen), &list, nullptr))
        return out;
    const qint64 self = QCoreApplication::applicationPid();
    for (quint32 i = 0; i < list.windows_len; ++i) {
        platform::WorkspaceWindow w;
        w.id = list.windows[i];
        uint32_t pid = 0;
        if (xcb_ewmh_get_wm_pid_reply(ewmh, xcb_ewmh_get_wm_pid(ewmh, list.windows[i]), &pid, nullptr))
            w.pid = pid;
        if (w.pid == self)
            continue;
        xcb_ewmh_get_atoms_reply_t states;
        if (xcb_ewmh_get_wm_state_reply(ewmh, xcb_ewmh_get_wm_state(ewmh, list.windows[i]), &states, nullptr)) {
            for (quint32 k = 0; k < states.atoms_len; ++k) {
                if (states.atoms[k] == m_ewmh._NET_WM_STATE_HIDDEN)
                    w.minimized = true;
            }
            xcb_ewmh_get_atoms_reply_wipe(&states);
        }
        // Panels, docks, the desktop and the like are not ours to put away.
        xcb_ewmh_get_atoms_reply_t types;
        if (xcb_ewmh_get_wm_window_type_reply(ewmh, xcb_ewmh_get_wm_window_type(ewmh, list.windows[i]), &types,
                                              nullptr)) {
            w.ordinary = false;
            for (quint32 k = 0; k < types.atoms_len; ++k) {
                if (types.atoms[k] == m_ewmh._NET_WM_WINDOW_TYPE_NORMAL || types.atoms[k] == m_ewmh._NET_WM_WINDOW_TYPE_DIALOG)
                    w.ordinary = true;
            }
            xcb_ewmh_get_atoms_reply_wipe(&types);
        }
        xcb_ewmh_get_utf8_strings_reply_t name;
        if (xcb_ewmh_get_wm_name_reply(ewmh, xcb_ewmh_get_wm_name(ewmh, list.windows[i]), &name, nullptr)) {
            w.title = QString::fromUtf8(name.strings, int(name.strings_len));
            xcb_ewmh_get_utf8_strings_reply_wipe(&name);
        }
        out << w;
    }
    xcb_ewmh_get_windows_reply_wipe(&list);
    return out;
}

void EwmhWorkspace::minimize(quint64 id)
{
    if (!m_ready)
        return;
    // ICCCM: WM_CHANGE_STATE with IconicState asks the window manager to iconify.
    const char name[] = "WM_CHANGE_STATE";
    xcb_intern_atom_reply_t *r = xcb_intern_atom_reply(m_conn, xcb_intern_atom(m_conn, 0, sizeof name - 1, name), nullptr);
    if (!r)
        return;
    xcb_client_message_event_t ev;
    std::memset(&ev, 0, sizeof ev);
    ev.response_type = XCB_CLIENT_MESSAGE;
    ev.format = 32;
    ev.window = xcb_window_t(id);
    ev.type = r->atom;
    ev.data.data32[0] = 3; // IconicState
    std::free(r);
    xcb_send_event(m_conn, 0, m_ewmh.screens[m_screen]->root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char *>(&ev));
    xcb_flush(m_conn);
}

void EwmhWorkspace::restore(quint64 id)
{
    if (!m_ready || !exists(id))
        return;
    // ICCCM: mapping an iconic window asks the window manager for its normal
    // state, on its own workspace. Some window managers focus it as they do
    // so: the window that had the focus then gets it back.
    xcb_window_t active = XCB_WINDOW_NONE;
    if (!xcb_ewmh_get_active_window_reply(&m_ewmh, xcb_ewmh_get_active_window(&m_ewmh, m_screen), &active, nullptr))
        active = XCB_WINDOW_NONE;
    xcb_map_window(m_conn, xcb_window_t(id));
    if (active != XCB_WINDOW_NONE && active != xcb_window_t(id))
        xcb_ewmh_request_change_active_window(&m_ewmh, m_screen, active, XCB_EWMH_CLIENT_SOURCE_TYPE_OTHER,
                                              XCB_CURRENT_TIME, XCB_WINDOW_NONE);
    xcb_flush(m_conn);
}

bool EwmhWorkspace::exists(quint64 id) const
{
    if (!m_conn)
        return false;
    xcb_get_window_attributes_reply_t *a =
        xcb_get_window_attributes_reply(m_conn, xcb_get_window_attributes(m_conn, xcb_window_t(id)), nullptr);
    const bool alive = a != nullptr;
    std::free(a);
    return alive;
}

} // namespace platform
