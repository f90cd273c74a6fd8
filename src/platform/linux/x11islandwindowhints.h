#pragma once

#include "platform/islandwindowhints.h"
#include "platform/linux/x11connection.h"

#include <QAbstractNativeEventFilter>
#include <QElapsedTimer>
#include <QHash>
#include <QPointer>
#include <QWindow>

namespace platform {

// EWMH hints for the island window: _NET_WM_STATE ABOVE, STICKY,
// SKIP_TASKBAR and SKIP_PAGER, and _NET_WM_DESKTOP "all desktops". A window
// of ours that took the keyboard gives it back to the one that had it, by
// _NET_ACTIVE_WINDOW or, without a window manager, by the input focus. Set as
// properties before the window is mapped and asked for by client message
// once it is. For compositors: full opacity (_NET_WM_WINDOW_OPACITY, so no
// rule for inactive windows dims it), no shadow of theirs (_COMPTON_SHADOW 0;
// the island draws its own) and composited rather than bypassed
// (_NET_WM_BYPASS_COMPOSITOR 2). The window keeps its pixels in place on the
// screen when it is moved and resized (static bit gravity), and its resizes
// happen under a server grab together with the new shape. Nothing happens
// when Qt does not run on X11. The window is raised again when the stacking
// of the root's children changes and a window other than its partner is
// above it (read from the root's substructure events on Qt's connection:
// nothing runs while the screen's windows stay put).
class X11IslandWindowHints final : public platform::IIslandWindowHints, private QAbstractNativeEventFilter {
public:
    ~X11IslandWindowHints() override;
    void apply(QWindow *window, bool mapped) override;
    void beginFrameChange(QWindow *window) override;
    void endFrameChange(QWindow *window) override;
    void shapeChanged(QWindow *window, const QRegion &outline) override;
    void keyboardTaken(QWindow *window) override;
    void keyboardReleased(QWindow *window) override;
    void keepOnTop(QWindow *window, std::function<QWindow *()> allowedAbove, std::function<void()> raise) override;

    // Whether a compositing manager holds the screen's _NET_WM_CM selection.
    bool compositorRunning();

private:
    bool onQtsConnection() const;
    xcb_window_t inputFocus() const;
    // Whether w exists and is shown.
    bool viewable(xcb_window_t w) const;
    // The managed window (in _NET_CLIENT_LIST) that holds w, or w.
    xcb_window_t managedWindow(xcb_window_t w) const;
    bool windowManagerRunning() const;
    bool nativeEventFilter(const QByteArray &type, void *message, qintptr *result) override;
    bool covered();
    xcb_window_t topLevel(QWindow *window);

    QPointer<QWindow> m_onTop;
    std::function<QWindow *()> m_allowedAbove;
    std::function<void()> m_raise;
    bool m_raisePending = false;
    QElapsedTimer m_raisesCounted;
    int m_raises = 0;

    X11Connection m_conn;
    bool m_grabbed = false;
    bool m_compositor = false;
    QElapsedTimer m_compositorChecked;
    // For each of our windows that took the keyboard, who had it before.
    QHash<xcb_window_t, xcb_window_t> m_focusBefore;
    // Queued work ends with these hints: a raise still posted when they go
    // is dropped with them.
    QObject m_queued;
};

} // namespace platform
