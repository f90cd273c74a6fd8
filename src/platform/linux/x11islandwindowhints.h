#pragma once

#include "platform/islandwindowhints.h"
#include "platform/linux/x11connection.h"

#include <QAbstractNativeEventFilter>
#include <QElapsedTimer>
#include <QHash>
#include <QSet>
#include <QPointer>
#include <QWindow>

namespace platform {

// EWMH hints for the island window: _NET_WM_STATE ABOVE, STICKY,
// SKIP_TASKBAR and SKIP_PAGER, and _NET_WM_DESKTOP "all desktops". A window
// of ours that took the keyboard gives it back to the one that had it, by
// _NET_ACTIVE_WINDOW or, without a window manager, by the input focus; with
// that one gone, to the topmost other window of the desktop, or to none. Set as
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
// nothing runs while the screen's windows stay put). A window that had the
// keyboard and is minimized as it is to get it back (the island editor puts
// the desktop's windows away while it runs) gets it once it shows again.
class X11IslandWindowHints final : public platform::IIslandWindowHints, private QAbstractNativeEventFilter {
public:
    ~X11IslandWindowHints() override;
    void apply(QWindow *window, bool mapped) override;
    void beginFrameChange(QWindow *window) override;
    void endFrameChange(QWindow *window) override;
    void shapeChanged(QWindow *window, const QRegion &outline) override;
    void keyboardTaken(QWindow *window) override;
    void keyboardReleased(QWindow *window) override;
    void keepOffTaskBar(QWindow *window) override;
    void keepOnTop(QWindow *window, std::function<QWindow *()> allowedAbove, std::function<void()> raise) override;

    // Whether a compositing manager holds the screen's _NET_WM_CM selection.
    bool compositorRunning();

private:
    bool onQtsConnection() const;
    xcb_window_t inputFocus() const;
    // Whether w exists and is shown.
    bool viewable(xcb_window_t w) const;
    // The windows the window manager manages (_NET_CLIENT_LIST).
    QList<xcb_window_t> clients() const;
    // The managed window that holds w, or none.
    xcb_window_t client(xcb_window_t w) const;
    bool windowManagerRunning() const;
    bool nativeEventFilter(const QByteArray &type, void *message, qintptr *result) override;
    // Hears the root's substructure and property changes on Qt's connection.
    void listenToRoot();
    // Qt's events pass through nativeEventFilter() from then on.
    void filterEvents();
    // The island's window type stays the dock's, whatever Qt writes there.
    void keepDockType();
    // Asks the window manager to give w the keyboard, as a pager would.
    void activate(xcb_window_t w, xcb_window_t requester);
    // The keyboard goes to the window still waiting for it, once it shows.
    void handBackWhenShown();
    // A window manager that came while a window of ours held the keyboard
    // gives it back to that window.
    void reclaim();
    bool covered();
    // Raises the island when a window covers it, at most four times a second.
    void raiseIfCovered();
    // Ours that take no keyboard (the island at rest, the editor's shade),
    // and letting, the one letting go of it.
    QSet<xcb_window_t> keyboardless(xcb_window_t letting) const;
    bool isDock(xcb_window_t w) const;
    // The topmost window of the desktop that can have the keyboard instead
    // of letting, or none.
    xcb_window_t otherWindow(xcb_window_t letting) const;
    // The keyboard goes to that window, or to none.
    void park(xcb_window_t letting);
    // The window a window is a transient (a dialog) of; none when it is none's.
    xcb_window_t transientFor(xcb_window_t window);
    xcb_window_t topLevel(QWindow *window);

    QPointer<QWindow> m_onTop;
    std::function<QWindow *()> m_allowedAbove;
    std::function<void()> m_raise;
    bool m_raisePending = false;
    bool m_raiseHeldBack = false;
    QElapsedTimer m_raisesCounted;
    int m_raises = 0;

    X11Connection m_conn;
    bool m_grabbed = false;
    bool m_compositor = false;
    QElapsedTimer m_compositorChecked;
    // For each of our windows that took the keyboard, who had it before.
    QHash<xcb_window_t, xcb_window_t> m_focusBefore;
    // A window that had the keyboard but was hidden (minimized) when it was
    // to get it back: it gets it once it shows again, if soon.
    xcb_window_t m_handBackTo = XCB_WINDOW_NONE;
    xcb_window_t m_handBackFrom = XCB_WINDOW_NONE;
    QElapsedTimer m_handBackSince;
    // Where the keyboard went when it had nobody to go back to.
    xcb_window_t m_parkedOn = XCB_WINDOW_NONE;
    int m_handBacks = 0;
    // The managed windows on screen when the keyboard was let go.
    QSet<xcb_window_t> m_shownAtRelease;
    // Our windows that have taken the keyboard.
    QSet<xcb_window_t> m_takers;
    bool m_handBackPending = false;
    xcb_window_t m_lastTaker = XCB_WINDOW_NONE;
    QElapsedTimer m_reclaimSince;
    int m_reclaims = 0;
    bool m_reclaimPending = false;
    bool m_listening = false;
    bool m_filtering = false;
    xcb_window_t m_dock = XCB_WINDOW_NONE;
    // Queued work ends with these hints: a raise still posted when they go
    // is dropped with them.
    QObject m_queued;
};

} // namespace platform
