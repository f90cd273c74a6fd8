#include "platform/linux/x11islandwindowhints.h"

#include <QGuiApplication>
#include <QTimer>
#include <QRegion>
#include <QWindow>

#include <xcb/shape.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace platform {

namespace {
xcb_atom_t atom(xcb_connection_t *c, const char *name)
{
    xcb_intern_atom_reply_t *r = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, quint16(std::strlen(name)), name), nullptr);
    const xcb_atom_t a = r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(r);
    return a;
}
} // namespace

bool X11IslandWindowHints::onQtsConnection() const
{
    return m_conn.isShared() && QGuiApplication::platformName() == QLatin1String("xcb");
}

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
        // A panel at the top of the screen: window managers keep it above
        // ordinary windows, compositors give it no shadow of theirs and do
        // not dim it with inactive windows.
        m_dock = w;
        keepDockType();
        // Qt writes its own type again whenever the window's flags change:
        // the dock type follows each of its writes.
        if (onQtsConnection())
            filterEvents();
        // Compositors: never dimmed, no shadow of theirs, always composited.
        const quint32 opaque = 0xFFFFFFFF, noShadow = 0, keepComposited = 2;
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, atom(c, "_NET_WM_WINDOW_OPACITY"), XCB_ATOM_CARDINAL,
                            32, 1, &opaque);
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, atom(c, "_COMPTON_SHADOW"), XCB_ATOM_CARDINAL, 32, 1,
                            &noShadow);
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, atom(c, "_NET_WM_BYPASS_COMPOSITOR"), XCB_ATOM_CARDINAL,
                            32, 1, &keepComposited);
        // What the window shows stays put on the screen while it is moved
        // and resized, until it draws again.
        if (onQtsConnection()) {
            const quint32 gravity = XCB_GRAVITY_STATIC;
            xcb_change_window_attributes(c, w, XCB_CW_BIT_GRAVITY, &gravity);
        }
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
        // A compositor reads its hints from the top-level window, which is the
        // window manager's frame when it put the island into one.
        if (xcb_query_tree_reply_t *tree = xcb_query_tree_reply(c, xcb_query_tree(c, w), nullptr)) {
            if (tree->parent != tree->root && tree->parent != XCB_WINDOW_NONE) {
                const quint32 opaque = 0xFFFFFFFF, noShadow = 0;
                xcb_change_property(c, XCB_PROP_MODE_REPLACE, tree->parent, atom(c, "_NET_WM_WINDOW_OPACITY"),
                                    XCB_ATOM_CARDINAL, 32, 1, &opaque);
                xcb_change_property(c, XCB_PROP_MODE_REPLACE, tree->parent, atom(c, "_COMPTON_SHADOW"),
                                    XCB_ATOM_CARDINAL, 32, 1, &noShadow);
            }
            std::free(tree);
        }
    }
    xcb_flush(c);
}

void X11IslandWindowHints::keepOffTaskBar(QWindow *window)
{
    if (!m_conn || QGuiApplication::platformName() != QLatin1String("xcb") || !window)
        return;
    xcb_connection_t *c = m_conn.get();
    const xcb_window_t w = xcb_window_t(window->winId());
    const xcb_atom_t wmState = atom(c, "_NET_WM_STATE");
    const xcb_atom_t skip[] = {atom(c, "_NET_WM_STATE_SKIP_TASKBAR"), atom(c, "_NET_WM_STATE_SKIP_PAGER")};
    // The window manager drops the state as the window hides: each showing
    // reads it afresh, with whatever else the window has there.
    QList<xcb_atom_t> states;
    if (xcb_get_property_reply_t *r =
            xcb_get_property_reply(c, xcb_get_property(c, 0, w, wmState, XCB_ATOM_ATOM, 0, 64), nullptr)) {
        if (r->type == XCB_ATOM_ATOM) {
            const auto *atoms = static_cast<const xcb_atom_t *>(xcb_get_property_value(r));
            states = QList<xcb_atom_t>(atoms, atoms + xcb_get_property_value_length(r) / 4);
        }
        std::free(r);
    }
    for (xcb_atom_t a : skip) {
        if (!states.contains(a))
            states.append(a);
    }
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, wmState, XCB_ATOM_ATOM, 32, quint32(states.size()),
                        states.constData());
    xcb_flush(c);
}

void X11IslandWindowHints::keepDockType()
{
    xcb_connection_t *c = m_conn.get();
    static const xcb_atom_t type = atom(c, "_NET_WM_WINDOW_TYPE");
    static const xcb_atom_t dock = atom(c, "_NET_WM_WINDOW_TYPE_DOCK");
    xcb_get_property_reply_t *r =
        xcb_get_property_reply(c, xcb_get_property(c, 0, m_dock, type, XCB_ATOM_ATOM, 0, 1), nullptr);
    const bool isDock = r && r->type == XCB_ATOM_ATOM && xcb_get_property_value_length(r) == 4
        && *static_cast<const xcb_atom_t *>(xcb_get_property_value(r)) == dock && r->bytes_after == 0;
    std::free(r);
    if (!isDock) {
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, m_dock, type, XCB_ATOM_ATOM, 32, 1, &dock);
        xcb_flush(c);
    }
}

void X11IslandWindowHints::beginFrameChange(QWindow *window)
{
    // Only on Qt's own connection do our requests and Qt's arrive in order.
    if (!window || m_grabbed || !onQtsConnection())
        return;
    xcb_grab_server(m_conn.get());
    m_grabbed = true;
}

void X11IslandWindowHints::endFrameChange(QWindow *)
{
    if (!m_grabbed)
        return;
    m_grabbed = false;
    xcb_ungrab_server(m_conn.get());
    xcb_flush(m_conn.get());
}

bool X11IslandWindowHints::compositorRunning()
{
    if (!m_conn)
        return false;
    // Asked at most once a second: a compositor comes and goes rarely.
    if (m_compositorChecked.isValid() && m_compositorChecked.elapsed() < 1000)
        return m_compositor;
    m_compositorChecked.start();
    xcb_connection_t *c = m_conn.get();
    int screen = 0;
    for (xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c)); it.rem; xcb_screen_next(&it), ++screen) {
        if (it.data->root == m_conn.root())
            break;
    }
    const QByteArray name = "_NET_WM_CM_S" + QByteArray::number(screen);
    xcb_get_selection_owner_reply_t *r =
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, atom(c, name.constData())), nullptr);
    m_compositor = r && r->owner != XCB_WINDOW_NONE;
    std::free(r);
    return m_compositor;
}

X11IslandWindowHints::~X11IslandWindowHints()
{
    if (m_filtering && QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

void X11IslandWindowHints::keepOnTop(QWindow *window, std::function<QWindow *()> allowedAbove,
                                     std::function<void()> raise)
{
    // The root's events reach only the connection that asked for them.
    if (!window || !onQtsConnection())
        return;
    const bool first = !m_raise;
    m_onTop = window;
    m_allowedAbove = std::move(allowedAbove);
    m_raise = std::move(raise);
    if (first)
        listenToRoot();
}

void X11IslandWindowHints::listenToRoot()
{
    if (m_listening)
        return;
    m_listening = true;
    xcb_connection_t *c = m_conn.get();
    // Added to what Qt's connection already hears from the root.
    quint32 mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_PROPERTY_CHANGE;
    if (auto *a = xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, m_conn.root()), nullptr)) {
        mask |= a->your_event_mask;
        std::free(a);
    }
    xcb_change_window_attributes(c, m_conn.root(), XCB_CW_EVENT_MASK, &mask);
    xcb_flush(c);
    filterEvents();
}

void X11IslandWindowHints::filterEvents()
{
    if (m_filtering)
        return;
    m_filtering = true;
    QCoreApplication::instance()->installNativeEventFilter(this);
}

bool X11IslandWindowHints::nativeEventFilter(const QByteArray &type, void *message, qintptr *)
{
    if (type != "xcb_generic_event_t")
        return false;
    const auto *ev = static_cast<const xcb_generic_event_t *>(message);
    bool restacked = false, activeChanged = false;
    switch (ev->response_type & 0x7f) {
    case XCB_CONFIGURE_NOTIFY:
        restacked = reinterpret_cast<const xcb_configure_notify_event_t *>(ev)->event == m_conn.root();
        break;
    case XCB_MAP_NOTIFY:
        restacked = reinterpret_cast<const xcb_map_notify_event_t *>(ev)->event == m_conn.root();
        break;
    case XCB_REPARENT_NOTIFY:
        restacked = reinterpret_cast<const xcb_reparent_notify_event_t *>(ev)->event == m_conn.root();
        break;
    case XCB_PROPERTY_NOTIFY: {
        static const xcb_atom_t stacking = atom(m_conn.get(), "_NET_CLIENT_LIST_STACKING");
        static const xcb_atom_t active = atom(m_conn.get(), "_NET_ACTIVE_WINDOW");
        static const xcb_atom_t check = atom(m_conn.get(), "_NET_SUPPORTING_WM_CHECK");
        static const xcb_atom_t type = atom(m_conn.get(), "_NET_WM_WINDOW_TYPE");
        const auto *p = reinterpret_cast<const xcb_property_notify_event_t *>(ev);
        if (p->window == m_dock && m_dock != XCB_WINDOW_NONE && p->atom == type)
            keepDockType();
        restacked = p->window == m_conn.root() && p->atom == stacking;
        activeChanged = p->window == m_conn.root() && p->atom == active;
        if (p->window == m_conn.root() && p->atom == check && !m_focusBefore.isEmpty()) {
            // A window manager (again): it hands the keyboard to a window
            // of its choice as it takes the screen's windows over, and an
            // open panel of ours wants it back.
            m_reclaimSince.start();
            m_reclaims = 0;
            activeChanged = true;
        }
        break;
    }
    default:
        break;
    }
    if ((restacked || activeChanged) && m_reclaimSince.isValid() && !m_reclaimPending) {
        m_reclaimPending = true;
        QTimer::singleShot(0, &m_queued, [this] {
            m_reclaimPending = false;
            reclaim();
        });
    }
    if ((restacked || activeChanged) && m_handBackTo != XCB_WINDOW_NONE && !m_handBackPending) {
        m_handBackPending = true;
        QTimer::singleShot(0, &m_queued, [this] {
            m_handBackPending = false;
            handBackWhenShown();
        });
    }
    if (restacked && !m_raisePending && m_onTop) {
        // Once the burst of events a restack brings is through.
        m_raisePending = true;
        QTimer::singleShot(0, &m_queued, [this] {
            m_raisePending = false;
            raiseIfCovered();
        });
    }
    return false;
}

void X11IslandWindowHints::raiseIfCovered()
{
    if (!m_onTop || !m_onTop->isVisible() || !m_raise || !covered())
        return;
    // Another program that insists on the top too gets its turn: a few
    // raises a second at most, never a fight. One held back is done once
    // the second is over, should the island still be covered then.
    if (!m_raisesCounted.isValid() || m_raisesCounted.elapsed() >= 1000) {
        m_raisesCounted.start();
        m_raises = 0;
    }
    if (m_raises < 4) {
        ++m_raises;
        m_raise();
        return;
    }
    if (m_raiseHeldBack)
        return;
    m_raiseHeldBack = true;
    QTimer::singleShot(int(1000 - m_raisesCounted.elapsed()) + 1, &m_queued, [this] {
        m_raiseHeldBack = false;
        raiseIfCovered();
    });
}

// The root's child that holds the window: the window manager's frame, or
// the window itself.
xcb_window_t X11IslandWindowHints::topLevel(QWindow *window)
{
    xcb_connection_t *c = m_conn.get();
    xcb_window_t w = xcb_window_t(window->winId());
    for (int depth = 0; depth < 8; ++depth) {
        xcb_query_tree_reply_t *tree = xcb_query_tree_reply(c, xcb_query_tree(c, w), nullptr);
        if (!tree)
            return XCB_WINDOW_NONE;
        const xcb_window_t parent = tree->parent;
        std::free(tree);
        if (parent == m_conn.root() || parent == XCB_WINDOW_NONE)
            return w;
        w = parent;
    }
    return w;
}

// Whether a mapped window that the window manager stacks (menus and tooltips
// are left alone) lies above the window's own. A dialog the island opened
// (one transient for it, as the zip card's file dialog) belongs there.
bool X11IslandWindowHints::covered()
{
    xcb_connection_t *c = m_conn.get();
    const xcb_window_t own = topLevel(m_onTop);
    QWindow *partner = m_allowedAbove ? m_allowedAbove() : nullptr;
    const xcb_window_t allowed = partner && partner->isVisible() ? topLevel(partner) : xcb_window_t(XCB_WINDOW_NONE);
    xcb_query_tree_reply_t *tree = xcb_query_tree_reply(c, xcb_query_tree(c, m_conn.root()), nullptr);
    if (!tree || own == XCB_WINDOW_NONE) {
        std::free(tree);
        return false;
    }
    const xcb_window_t *children = xcb_query_tree_children(tree);
    bool above = false;
    for (int i = xcb_query_tree_children_length(tree) - 1; i >= 0 && !above; --i) {
        if (children[i] == own)
            break;
        if (children[i] == allowed)
            continue;
        if (auto *a = xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, children[i]), nullptr)) {
            above = a->map_state == XCB_MAP_STATE_VIEWABLE && !a->override_redirect;
            std::free(a);
        }
        if (above && transientFor(children[i]) == xcb_window_t(m_onTop->winId()))
            above = false;
    }
    std::free(tree);
    return above;
}

xcb_window_t X11IslandWindowHints::transientFor(xcb_window_t window)
{
    xcb_connection_t *c = m_conn.get();
    auto *reply = xcb_get_property_reply(
        c, xcb_get_property(c, 0, window, XCB_ATOM_WM_TRANSIENT_FOR, XCB_ATOM_WINDOW, 0, 1), nullptr);
    xcb_window_t owner = XCB_WINDOW_NONE;
    if (reply && reply->type == XCB_ATOM_WINDOW && xcb_get_property_value_length(reply) >= 4)
        owner = *static_cast<const xcb_window_t *>(xcb_get_property_value(reply));
    std::free(reply);
    return owner;
}

void X11IslandWindowHints::shapeChanged(QWindow *window, const QRegion &outline)
{
    // Only on Qt's own connection does this land after Qt's own mask.
    if (!window || !onQtsConnection())
        return;
    xcb_connection_t *c = m_conn.get();
    const xcb_window_t w = xcb_window_t(window->winId());
    QList<xcb_rectangle_t> rects;
    for (const QRect &r : outline)
        rects.append({qint16(r.x()), qint16(r.y()), quint16(r.width()), quint16(r.height())});
    if (compositorRunning()) {
        // The window's own edge shows, antialiased, with the shadow around it;
        // the outline keeps taking only the clicks that land on the island.
        xcb_shape_rectangles(c, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_INPUT, XCB_CLIP_ORDERING_UNSORTED, w, 0, 0,
                             quint32(rects.size()), rects.constData());
        xcb_shape_mask(c, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_BOUNDING, w, 0, 0, XCB_NONE);
    } else {
        // The outline at the screen's resolution in place of Qt's scaled one.
        xcb_shape_rectangles(c, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_BOUNDING, XCB_CLIP_ORDERING_UNSORTED, w, 0, 0,
                             quint32(rects.size()), rects.constData());
    }
    xcb_flush(c);
}

xcb_window_t X11IslandWindowHints::inputFocus() const
{
    xcb_get_input_focus_reply_t *r = xcb_get_input_focus_reply(m_conn.get(), xcb_get_input_focus(m_conn.get()), nullptr);
    const xcb_window_t focus = r ? r->focus : xcb_window_t(XCB_WINDOW_NONE);
    std::free(r);
    // None and PointerRoot name no window.
    return focus == XCB_INPUT_FOCUS_POINTER_ROOT ? xcb_window_t(XCB_WINDOW_NONE) : focus;
}

bool X11IslandWindowHints::viewable(xcb_window_t w) const
{
    if (w == XCB_WINDOW_NONE)
        return false;
    xcb_get_window_attributes_reply_t *r =
        xcb_get_window_attributes_reply(m_conn.get(), xcb_get_window_attributes(m_conn.get(), w), nullptr);
    const bool shown = r && r->map_state == XCB_MAP_STATE_VIEWABLE;
    std::free(r);
    return shown;
}

bool X11IslandWindowHints::windowManagerRunning() const
{
    // The window manager's check window names itself (EWMH).
    xcb_connection_t *c = m_conn.get();
    const xcb_atom_t check = atom(c, "_NET_SUPPORTING_WM_CHECK");
    auto checkWindow = [&](xcb_window_t on) {
        xcb_get_property_reply_t *r =
            xcb_get_property_reply(c, xcb_get_property(c, 0, on, check, XCB_ATOM_WINDOW, 0, 1), nullptr);
        xcb_window_t w = XCB_WINDOW_NONE;
        if (r && r->type == XCB_ATOM_WINDOW && xcb_get_property_value_length(r) == 4)
            std::memcpy(&w, xcb_get_property_value(r), 4);
        std::free(r);
        return w;
    };
    const xcb_window_t w = checkWindow(m_conn.root());
    return w != XCB_WINDOW_NONE && checkWindow(w) == w;
}

QList<xcb_window_t> X11IslandWindowHints::clients() const
{
    xcb_connection_t *c = m_conn.get();
    QList<xcb_window_t> clients;
    const xcb_atom_t list = atom(c, "_NET_CLIENT_LIST");
    if (xcb_get_property_reply_t *r =
            xcb_get_property_reply(c, xcb_get_property(c, 0, m_conn.root(), list, XCB_ATOM_WINDOW, 0, 4096), nullptr)) {
        const auto *ids = static_cast<const xcb_window_t *>(xcb_get_property_value(r));
        clients = QList<xcb_window_t>(ids, ids + xcb_get_property_value_length(r) / 4);
        std::free(r);
    }
    return clients;
}

xcb_window_t X11IslandWindowHints::client(xcb_window_t w) const
{
    const QList<xcb_window_t> all = clients();
    // Toolkits may focus a window inside their top-level one.
    xcb_connection_t *c = m_conn.get();
    for (xcb_window_t at = w; at != XCB_WINDOW_NONE && at != m_conn.root();) {
        if (all.contains(at))
            return at;
        xcb_query_tree_reply_t *tree = xcb_query_tree_reply(c, xcb_query_tree(c, at), nullptr);
        at = tree ? tree->parent : xcb_window_t(XCB_WINDOW_NONE);
        std::free(tree);
    }
    return XCB_WINDOW_NONE;
}

void X11IslandWindowHints::keyboardTaken(QWindow *window)
{
    if (!window || !onQtsConnection())
        return;
    const xcb_window_t w = xcb_window_t(window->winId());
    m_takers.insert(w);
    m_lastTaker = w;
    // A window of ours takes it anew: a hand-back still waiting is void.
    m_handBackTo = XCB_WINDOW_NONE;
    m_parkedOn = XCB_WINDOW_NONE;
    xcb_window_t before = inputFocus();
    if (before == w)
        return;
    if (m_focusBefore.contains(before)) {
        // Taken from another of our takers: the keyboard goes back past it.
        before = m_focusBefore.value(before);
    } else if (!m_focusBefore.isEmpty() && windowManagerRunning() && client(before) == XCB_WINDOW_NONE) {
        // Another of ours took it a moment ago and the window manager has
        // parked it meanwhile (on a window of its own, or nowhere): it goes
        // back where that one's goes.
        before = m_focusBefore.begin().value();
    }
    m_focusBefore.insert(w, before == w ? xcb_window_t(XCB_WINDOW_NONE) : before);
}

void X11IslandWindowHints::keyboardReleased(QWindow *window)
{
    if (!window || !onQtsConnection())
        return;
    const xcb_window_t w = xcb_window_t(window->winId());
    const xcb_window_t before = m_focusBefore.take(w);
    // Left alone when the user has put the keyboard elsewhere meanwhile.
    if (inputFocus() != w)
        return;
    xcb_connection_t *c = m_conn.get();
    const bool managed = windowManagerRunning();
    // A window manager's own window (where it parks the keyboard when no
    // window has it) is one it would not give the keyboard to.
    const bool known = before != XCB_WINDOW_NONE && before != w && (!managed || client(before) != XCB_WINDOW_NONE);
    if (known && viewable(before)) {
        if (managed)
            activate(before, w);
        else
            xcb_set_input_focus(c, XCB_INPUT_FOCUS_POINTER_ROOT, before, XCB_CURRENT_TIME);
    } else {
        // Nobody to give it back to: another window of the desktop gets it,
        // or none. Never the pointer's window: that is often the island.
        park(w);
        // A window that had it and still exists is minimized (the island
        // editor's end is about to put the desktop's windows back): it gets
        // the keyboard once it shows again, should that be soon.
        xcb_get_window_attributes_reply_t *a =
            known ? xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, before), nullptr) : nullptr;
        if (a) {
            std::free(a);
            m_handBackTo = before;
            m_handBackFrom = w;
            m_handBacks = 0;
            m_handBackSince.start();
            m_shownAtRelease.clear();
            for (xcb_window_t other : clients()) {
                if (viewable(other))
                    m_shownAtRelease.insert(other);
            }
            listenToRoot();
        }
    }
    xcb_flush(c);
}

QSet<xcb_window_t> X11IslandWindowHints::keyboardless(xcb_window_t letting) const
{
    QSet<xcb_window_t> windows{letting};
    for (const QWindow *q : QGuiApplication::allWindows()) {
        if (q->handle() && (q->flags() & (Qt::WindowDoesNotAcceptFocus | Qt::WindowTransparentForInput)))
            windows.insert(xcb_window_t(q->winId()));
    }
    return windows;
}

bool X11IslandWindowHints::isDock(xcb_window_t w) const
{
    xcb_connection_t *c = m_conn.get();
    static const xcb_atom_t type = atom(c, "_NET_WM_WINDOW_TYPE");
    static const xcb_atom_t dock = atom(c, "_NET_WM_WINDOW_TYPE_DOCK");
    xcb_get_property_reply_t *r =
        xcb_get_property_reply(c, xcb_get_property(c, 0, w, type, XCB_ATOM_ATOM, 0, 16), nullptr);
    bool found = false;
    if (r && r->type == XCB_ATOM_ATOM) {
        const auto *types = static_cast<const xcb_atom_t *>(xcb_get_property_value(r));
        found = std::find(types, types + xcb_get_property_value_length(r) / 4, dock)
            != types + xcb_get_property_value_length(r) / 4;
    }
    std::free(r);
    return found;
}

xcb_window_t X11IslandWindowHints::otherWindow(xcb_window_t letting) const
{
    xcb_connection_t *c = m_conn.get();
    const QSet<xcb_window_t> skip = keyboardless(letting);
    // The topmost window shown that is neither a dock nor one of ours that
    // takes no keyboard: the managed ones in the window manager's order,
    // else the root's children that ask for no override.
    QList<xcb_window_t> stack;
    const bool managed = windowManagerRunning();
    if (managed) {
        static const xcb_atom_t stacking = atom(c, "_NET_CLIENT_LIST_STACKING");
        if (xcb_get_property_reply_t *r = xcb_get_property_reply(
                c, xcb_get_property(c, 0, m_conn.root(), stacking, XCB_ATOM_WINDOW, 0, 4096), nullptr)) {
            const auto *ids = static_cast<const xcb_window_t *>(xcb_get_property_value(r));
            stack = QList<xcb_window_t>(ids, ids + xcb_get_property_value_length(r) / 4);
            std::free(r);
        }
    } else if (xcb_query_tree_reply_t *tree = xcb_query_tree_reply(c, xcb_query_tree(c, m_conn.root()), nullptr)) {
        const xcb_window_t *children = xcb_query_tree_children(tree);
        stack = QList<xcb_window_t>(children, children + xcb_query_tree_children_length(tree));
        std::free(tree);
    }
    for (auto it = stack.crbegin(); it != stack.crend(); ++it) {
        if (skip.contains(*it))
            continue;
        xcb_get_window_attributes_reply_t *a =
            xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, *it), nullptr);
        const bool candidate = a && a->map_state == XCB_MAP_STATE_VIEWABLE
            && a->_class == XCB_WINDOW_CLASS_INPUT_OUTPUT && (managed || !a->override_redirect);
        std::free(a);
        if (candidate && !isDock(*it))
            return *it;
    }
    return XCB_WINDOW_NONE;
}

void X11IslandWindowHints::park(xcb_window_t letting)
{
    xcb_connection_t *c = m_conn.get();
    // Nobody has it until another window does: a window manager takes its
    // time, and may not grant it at all.
    xcb_set_input_focus(c, XCB_INPUT_FOCUS_NONE, XCB_NONE, XCB_CURRENT_TIME);
    m_parkedOn = otherWindow(letting);
    if (m_parkedOn == XCB_WINDOW_NONE)
        return;
    if (windowManagerRunning())
        activate(m_parkedOn, letting);
    else
        xcb_set_input_focus(c, XCB_INPUT_FOCUS_POINTER_ROOT, m_parkedOn, XCB_CURRENT_TIME);
}

void X11IslandWindowHints::activate(xcb_window_t w, xcb_window_t requester)
{
    xcb_connection_t *c = m_conn.get();
    const xcb_window_t managed = client(w);
    xcb_client_message_event_t ev;
    std::memset(&ev, 0, sizeof ev);
    ev.response_type = XCB_CLIENT_MESSAGE;
    ev.format = 32;
    ev.window = managed != XCB_WINDOW_NONE ? managed : w;
    ev.type = atom(c, "_NET_ACTIVE_WINDOW");
    // Source 2, as a pager asks: window managers that keep programs from
    // stealing the keyboard grant it.
    ev.data.data32[0] = 2;
    ev.data.data32[1] = XCB_CURRENT_TIME;
    ev.data.data32[2] = requester;
    xcb_send_event(c, 0, m_conn.root(), XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char *>(&ev));
}

void X11IslandWindowHints::reclaim()
{
    // For a few seconds after the window manager came, and a few times.
    if (m_reclaimSince.elapsed() > 3000 || m_reclaims >= 3 || m_focusBefore.isEmpty()
        || !windowManagerRunning()) {
        m_reclaimSince.invalidate();
        return;
    }
    const xcb_window_t holder = client(inputFocus());
    xcb_window_t taker = m_focusBefore.contains(m_lastTaker) ? m_lastTaker : m_focusBefore.begin().key();
    const xcb_window_t managed = client(taker);
    // Once the window manager has taken the window over; not while a window
    // of ours that holds the keyboard has it.
    if (managed == XCB_WINDOW_NONE || !viewable(taker) || holder == managed)
        return;
    for (auto it = m_focusBefore.cbegin(); it != m_focusBefore.cend(); ++it) {
        if (holder != XCB_WINDOW_NONE && client(it.key()) == holder)
            return;
    }
    ++m_reclaims;
    activate(taker, XCB_WINDOW_NONE);
    xcb_flush(m_conn.get());
}

void X11IslandWindowHints::handBackWhenShown()
{
    // Given up after a while, and after a few tries: never a fight.
    if (m_handBackTo == XCB_WINDOW_NONE || m_handBackSince.elapsed() > 2000 || m_handBacks >= 3) {
        m_handBackTo = XCB_WINDOW_NONE;
        return;
    }
    if (!viewable(m_handBackTo))
        return;
    const xcb_window_t focus = inputFocus();
    const xcb_window_t holder = client(focus);
    if (holder != XCB_WINDOW_NONE && holder == client(m_handBackTo))
        return;
    // The window the keyboard was parked on meanwhile gives way too.
    const bool parked = m_parkedOn != XCB_WINDOW_NONE && (focus == m_parkedOn || holder == client(m_parkedOn));
    // A window that was on screen as the keyboard was let go and has it now
    // was chosen by the user: it keeps it. One that came back since (the
    // window manager gives the keyboard to what it shows again), one of
    // ours, or none, gives way.
    if (holder != XCB_WINDOW_NONE && m_shownAtRelease.contains(holder) && !m_takers.contains(holder) && !parked) {
        m_handBackTo = XCB_WINDOW_NONE;
        return;
    }
    ++m_handBacks;
    activate(m_handBackTo, m_handBackFrom);
    xcb_flush(m_conn.get());
}

} // namespace platform
