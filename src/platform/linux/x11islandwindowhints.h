#pragma once

#include "platform/islandwindowhints.h"
#include "platform/linux/x11connection.h"

// EWMH hints for the island window: _NET_WM_STATE ABOVE, STICKY,
// SKIP_TASKBAR and SKIP_PAGER, and _NET_WM_DESKTOP "all desktops". Set as
// properties before the window is mapped and asked for by client message
// once it is. Nothing happens when Qt does not run on X11.
class X11IslandWindowHints final : public IslandWindowHints {
public:
    void apply(QWindow *window, bool mapped) override;

private:
    X11Connection m_conn;
};
