#pragma once

#include "platform/workspace.h"

#include <xcb/xcb_ewmh.h>

namespace platform {

// Other programs' windows through the window manager's EWMH lists:
// _NET_CLIENT_LIST for the windows, _NET_WM_PID to leave our own out,
// _NET_WM_STATE_HIDDEN for minimized ones, _NET_WM_WINDOW_TYPE for ordinary
// ones, WM_CHANGE_STATE to minimize and a map request to bring one back.
// Without a window manager the list is empty.
class EwmhWorkspace final : public platform::IWorkspace {
public:
    EwmhWorkspace();
    ~EwmhWorkspace() override;
    EwmhWorkspace(const EwmhWorkspace &) = delete;
    EwmhWorkspace &operator=(const EwmhWorkspace &) = delete;

    QList<platform::WorkspaceWindow> windows() const override;
    void minimize(quint64 id) override;
    void restore(quint64 id) override;
    bool exists(quint64 id) const override;

private:
    xcb_connection_t *m_conn = nullptr;
    int m_screen = 0;
    xcb_ewmh_connection_t m_ewmh{};
    bool m_ready = false;
};

} // namespace platform
