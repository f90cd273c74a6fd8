#include "platform/linux/xembedtrayicon.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <QSocketNotifier>
#include <xcb/xcbext.h>

#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace platform {

namespace {

enum Atom { TraySelection, Manager, TrayOpcode, XEmbedInfo, TrayVisual, WmName, Utf8String, AtomCount };
constexpr quint32 RequestDock = 0;
constexpr quint32 XEmbedMapped = 1;

// The display's default screen, whose tray selection is ours.
int defaultScreen()
{
    const QByteArray display = qgetenv("DISPLAY");
    const int dot = display.lastIndexOf('.');
    const int colon = display.lastIndexOf(':');
    return dot > colon ? display.mid(dot + 1).toInt() : 0;
}

xcb_screen_t *screenOf(xcb_connection_t *conn, xcb_window_t root)
{
    for (xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(conn)); it.rem; xcb_screen_next(&it)) {
        if (it.data->root == root)
            return it.data;
    }
    return nullptr;
}

// The depth of visual on screen; 0 when the screen has no such visual.
quint8 depthOf(xcb_screen_t *screen, xcb_visualid_t visual)
{
    for (xcb_depth_iterator_t d = xcb_screen_allowed_depths_iterator(screen); d.rem; xcb_depth_next(&d)) {
        for (xcb_visualtype_iterator_t v = xcb_depth_visuals_iterator(d.data); v.rem; xcb_visualtype_next(&v)) {
            if (v.data->visual_id == visual)
                return d.data->depth;
        }
    }
    return 0;
}

} // namespace

XEmbedTrayIcon::XEmbedTrayIcon(QObject *parent) : QObject(parent)
{
    if (!m_conn || m_conn.root() == XCB_WINDOW_NONE)
        return;
    xcb_connection_t *c = m_conn.get();
    m_notifier = new QSocketNotifier(xcb_get_file_descriptor(c), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &XEmbedTrayIcon::readEvents);
    m_lookAgain.setSingleShot(true);
    m_lookAgain.setInterval(50);
    connect(&m_lookAgain, &QTimer::timeout, this, &XEmbedTrayIcon::readEvents);
    // A tray that starts says so to the root window's structure listeners.
    const quint32 rootEvents = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, m_conn.root(), XCB_CW_EVENT_MASK, &rootEvents);
    const QByteArray names[AtomCount] = {
        "_NET_SYSTEM_TRAY_S" + QByteArray::number(defaultScreen()), "MANAGER", "_NET_SYSTEM_TRAY_OPCODE",
        "_XEMBED_INFO", "_NET_SYSTEM_TRAY_VISUAL", "_NET_WM_NAME", "UTF8_STRING"};
    m_atoms = QList<quint32>(AtomCount, XCB_ATOM_NONE);
    for (int i = 0; i < AtomCount; ++i) {
        expect(xcb_intern_atom(c, 0, quint16(names[i].size()), names[i].constData()).sequence, [this, i](void *reply) {
            m_atoms[i] = reply ? static_cast<xcb_intern_atom_reply_t *>(reply)->atom : quint32(XCB_ATOM_NONE);
            if (i == AtomCount - 1)
                findTray();
        });
    }
    xcb_flush(c);
}

XEmbedTrayIcon::~XEmbedTrayIcon()
{
    undock();
}

void XEmbedTrayIcon::setIcon(const QIcon &icon)
{
    m_icon = icon;
    draw();
}

void XEmbedTrayIcon::setWanted(bool wanted)
{
    if (wanted == m_wanted)
        return;
    m_wanted = wanted;
    if (wanted)
        findTray();
    else
        undock();
}

void XEmbedTrayIcon::expect(unsigned int sequence, ReplyHandler handler)
{
    m_pending.append({sequence, std::move(handler)});
    // The answer may be read already, along with events before it.
    QMetaObject::invokeMethod(this, &XEmbedTrayIcon::readEvents, Qt::QueuedConnection);
}

void XEmbedTrayIcon::readEvents()
{
    xcb_connection_t *c = m_conn.get();
    if (!c)
        return;
    bool more = true;
    while (more) {
        more = false;
        for (int i = 0; i < m_pending.size(); ++i) {
            void *reply = nullptr;
            xcb_generic_error_t *error = nullptr;
            if (!xcb_poll_for_reply(c, m_pending[i].sequence, &reply, &error))
                continue;
            const ReplyHandler handler = m_pending.takeAt(i).handler;
            handler(reply);
            std::free(reply);
            std::free(error);
            more = true;
            break;
        }
        while (xcb_generic_event_t *event = xcb_poll_for_event(c)) {
            handleEvent(event);
            std::free(event);
            more = true;
        }
    }
    xcb_flush(c);
    if (xcb_connection_has_error(c) && m_notifier) {
        // The X server went away: nothing more will come.
        m_notifier->setEnabled(false);
        setDocked(false);
    }
    if (!m_pending.isEmpty() && !m_lookAgain.isActive())
        m_lookAgain.start();
}

void XEmbedTrayIcon::findTray()
{
    if (!m_wanted || m_atoms.value(AtomCount - 1, XCB_ATOM_NONE) == XCB_ATOM_NONE || m_window)
        return;
    xcb_connection_t *c = m_conn.get();
    expect(xcb_get_selection_owner(c, m_atoms[TraySelection]).sequence, [this](void *reply) {
        const xcb_window_t owner = reply ? static_cast<xcb_get_selection_owner_reply_t *>(reply)->owner : 0;
        // No tray yet: its MANAGER message brings the icon.
        if (!owner || !m_wanted || m_window)
            return;
        m_owner = owner;
        // Its end takes the icon out (and the next tray's start brings it back).
        const quint32 events = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
        xcb_change_window_attributes(m_conn.get(), owner, XCB_CW_EVENT_MASK, &events);
        expect(xcb_get_property(m_conn.get(), 0, owner, m_atoms[TrayVisual], XCB_ATOM_VISUALID, 0, 1).sequence,
               [this, owner](void *reply) {
                   quint32 visual = 0;
                   auto *property = static_cast<xcb_get_property_reply_t *>(reply);
                   if (property && property->format == 32 && xcb_get_property_value_length(property) >= 4)
                       visual = *static_cast<quint32 *>(xcb_get_property_value(property));
                   dock(owner, visual);
               });
    });
}

void XEmbedTrayIcon::dock(quint32 owner, quint32 visual)
{
    if (!m_wanted || m_window || owner != m_owner)
        return;
    xcb_connection_t *c = m_conn.get();
    xcb_screen_t *screen = screenOf(c, m_conn.root());
    if (!screen)
        return;
    // A tray that names a visual with an alpha channel takes pictures with
    // their see-through parts; any other shows its own background behind
    // the icon's window.
    m_argb = visual && depthOf(screen, visual) == 32;
    m_window = xcb_generate_id(c);
    const quint32 events = XCB_EVENT_MASK_EXPOSURE | XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_BUTTON_RELEASE
        | XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    if (m_argb) {
        m_colormap = xcb_generate_id(c);
        xcb_create_colormap(c, XCB_COLORMAP_ALLOC_NONE, m_colormap, m_conn.root(), visual);
        const quint32 values[] = {0, 0, events, m_colormap};
        xcb_create_window(c, 32, m_window, m_conn.root(), 0, 0, quint16(m_size.width()), quint16(m_size.height()), 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, visual,
                          XCB_CW_BACK_PIXEL | XCB_CW_BORDER_PIXEL | XCB_CW_EVENT_MASK | XCB_CW_COLORMAP, values);
    } else {
        const quint32 values[] = {XCB_BACK_PIXMAP_PARENT_RELATIVE, events};
        xcb_create_window(c, XCB_COPY_FROM_PARENT, m_window, m_conn.root(), 0, 0, quint16(m_size.width()),
                          quint16(m_size.height()), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual,
                          XCB_CW_BACK_PIXMAP | XCB_CW_EVENT_MASK, values);
    }
    const quint32 info[] = {0, XEmbedMapped};
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, m_window, m_atoms[XEmbedInfo], m_atoms[XEmbedInfo], 32, 2, info);
    const QByteArray name("Pavlet");
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, m_window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8,
                        quint32(name.size()), name.constData());
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, m_window, m_atoms[WmName], m_atoms[Utf8String], 8,
                        quint32(name.size()), name.constData());
    const char wmClass[] = "pavlet\0Pavlet";
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, m_window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8, sizeof wmClass,
                        wmClass);
    m_askedSide = m_size.width();
    askFor(m_askedSide);
    const quint32 pid = quint32(::getpid());
    const char pidName[] = "_NET_WM_PID";
    expect(xcb_intern_atom(c, 0, sizeof pidName - 1, pidName).sequence, [this, pid, window = m_window](void *reply) {
        if (reply && window == m_window)
            xcb_change_property(m_conn.get(), XCB_PROP_MODE_REPLACE, window,
                                static_cast<xcb_intern_atom_reply_t *>(reply)->atom, XCB_ATOM_CARDINAL, 32, 1, &pid);
    });

    xcb_client_message_event_t message;
    std::memset(&message, 0, sizeof message);
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = owner;
    message.type = m_atoms[TrayOpcode];
    message.data.data32[0] = XCB_CURRENT_TIME;
    message.data.data32[1] = RequestDock;
    message.data.data32[2] = m_window;
    xcb_send_event(c, 0, owner, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char *>(&message));
    xcb_flush(c);
}

void XEmbedTrayIcon::askFor(int side)
{
    // Trays that size their icons by what the icon asks for (trayer's
    // GtkSocket) read the normal size hints, and follow their changes;
    // without them the icon would be a pixel wide.
    quint32 hints[18] = {};
    hints[0] = (1u << 4) | (1u << 8); // the minimum and the base size
    hints[5] = hints[15] = hints[6] = hints[16] = quint32(side);
    xcb_change_property(m_conn.get(), XCB_PROP_MODE_REPLACE, m_window, XCB_ATOM_WM_NORMAL_HINTS,
                        XCB_ATOM_WM_SIZE_HINTS, 32, 18, hints);
}

void XEmbedTrayIcon::undock()
{
    xcb_connection_t *c = m_conn.get();
    if (c && m_window) {
        // The tray drops an icon whose window is gone.
        xcb_destroy_window(c, m_window);
        if (m_colormap)
            xcb_free_colormap(c, m_colormap);
        xcb_flush(c);
    }
    m_window = 0;
    m_colormap = 0;
    m_pressed = 0;
    setDocked(false);
}

void XEmbedTrayIcon::setDocked(bool docked)
{
    if (docked == m_docked)
        return;
    m_docked = docked;
    emit dockedChanged(docked);
}

void XEmbedTrayIcon::handleEvent(const void *message)
{
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    switch (event->response_type & 0x7f) {
    case XCB_CLIENT_MESSAGE: {
        const auto *e = static_cast<const xcb_client_message_event_t *>(message);
        if (e->window != m_conn.root() || e->type != m_atoms.value(Manager) || e->format != 32
            || e->data.data32[1] != m_atoms.value(TraySelection))
            return;
        // A new tray: the icon moves into it.
        if (m_wanted) {
            undock();
            findTray();
        }
        return;
    }
    case XCB_DESTROY_NOTIFY: {
        const auto *e = static_cast<const xcb_destroy_notify_event_t *>(message);
        if (e->window == m_owner && m_owner) {
            m_owner = 0;
            undock();
        } else if (e->window == m_window) {
            m_window = 0;
            undock();
        }
        return;
    }
    case XCB_REPARENT_NOTIFY: {
        const auto *e = static_cast<const xcb_reparent_notify_event_t *>(message);
        if (e->window != m_window)
            return;
        // Back on the root window: its tray has gone, and the server would
        // leave the icon on the desktop.
        if (e->parent == m_conn.root())
            undock();
        else
            setDocked(true);
        return;
    }
    case XCB_CONFIGURE_NOTIFY: {
        const auto *e = static_cast<const xcb_configure_notify_event_t *>(message);
        if (e->window != m_window || QSize(e->width, e->height) == m_size)
            return;
        m_size = QSize(e->width, e->height);
        // A slot as thick as the panel and as long as the icon asked for
        // (trayer): the icon asks for a square as thick as the panel, as
        // other tray icons are.
        const int side = qMax(m_size.width(), m_size.height());
        if (m_size.width() != m_size.height() && side != m_askedSide && side <= 256) {
            m_askedSide = side;
            askFor(side);
            xcb_flush(m_conn.get());
        }
        draw();
        return;
    }
    case XCB_EXPOSE: {
        const auto *e = static_cast<const xcb_expose_event_t *>(message);
        if (e->window == m_window && e->count == 0)
            draw();
        return;
    }
    case XCB_BUTTON_PRESS: {
        const auto *e = static_cast<const xcb_button_press_event_t *>(message);
        if (e->event == m_window && e->detail >= 1 && e->detail <= 3)
            m_pressed = e->detail;
        return;
    }
    case XCB_BUTTON_RELEASE: {
        // The menu opens on the release, once the server has let go of the
        // pointer this press held for us, so that the menu can take it.
        const auto *e = static_cast<const xcb_button_release_event_t *>(message);
        if (e->event != m_window || e->detail != m_pressed)
            return;
        m_pressed = 0;
        const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
        QRect icon(QPoint(e->root_x - e->event_x, e->root_y - e->event_y), m_size);
        // Across the tray's panel (the root's child that holds the icon), from
        // the screen edge it sits on, so that the menu opens outside it.
        const QRect panel = panelAround();
        if (panel.contains(icon.center())) {
            const QSize screen = rootSize();
            const int toEdgeAcross = qMin(panel.top(), screen.height() - 1 - panel.bottom());
            const int toEdgeAlong = qMin(panel.left(), screen.width() - 1 - panel.right());
            // A panel in a corner says by its strut which edge it keeps.
            const int side = m_panelStrutSide;
            if (side >= 2 || (side < 0 && toEdgeAcross <= toEdgeAlong))
                icon.setTop(panel.top()), icon.setBottom(panel.bottom());
            else
                icon.setLeft(panel.left()), icon.setRight(panel.right());
        }
        emit clicked(QPoint(qRound(e->root_x / ratio), qRound(e->root_y / ratio)),
                     QRectF(QRectF(icon).topLeft() / ratio, QRectF(icon).size() / ratio).toAlignedRect());
        return;
    }
    default:
        return;
    }
}

QSize XEmbedTrayIcon::rootSize() const
{
    for (xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(m_conn.get())); it.rem; xcb_screen_next(&it)) {
        if (it.data->root == m_conn.root())
            return QSize(it.data->width_in_pixels, it.data->height_in_pixels);
    }
    return {};
}

QRect XEmbedTrayIcon::panelAround()
{
    xcb_connection_t *c = m_conn.get();
    static const char strutName[] = "_NET_WM_STRUT_PARTIAL";
    auto *a = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, sizeof strutName - 1, strutName), nullptr);
    const xcb_atom_t strutAtom = a ? a->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(a);
    m_panelStrutSide = -1;
    xcb_window_t w = m_window;
    for (int depth = 0; w && depth < 8; ++depth) {
        // The panel's strut, on its own window below a window manager's
        // frame: left, right, top, bottom; the side with room kept.
        auto *strut = m_panelStrutSide < 0 && w != m_window
            ? xcb_get_property_reply(c, xcb_get_property(c, 0, w, strutAtom, XCB_ATOM_CARDINAL, 0, 4), nullptr)
            : nullptr;
        if (strut && strut->format == 32 && xcb_get_property_value_length(strut) >= 16) {
            const auto *sides = static_cast<const quint32 *>(xcb_get_property_value(strut));
            for (int i = 0; i < 4 && m_panelStrutSide < 0; ++i)
                m_panelStrutSide = sides[i] > 0 ? i : -1;
        }
        std::free(strut);
        xcb_query_tree_reply_t *tree = xcb_query_tree_reply(c, xcb_query_tree(c, w), nullptr);
        const xcb_window_t parent = tree ? tree->parent : xcb_window_t(XCB_WINDOW_NONE);
        std::free(tree);
        if (parent == XCB_WINDOW_NONE)
            return {};
        if (parent != m_conn.root()) {
            w = parent;
            continue;
        }
        xcb_get_geometry_reply_t *g = xcb_get_geometry_reply(c, xcb_get_geometry(c, w), nullptr);
        const QRect out = g ? QRect(g->x, g->y, g->width + 2 * g->border_width, g->height + 2 * g->border_width) : QRect();
        std::free(g);
        return out;
    }
    return {};
}

void XEmbedTrayIcon::drawOver(QImage &canvas) const
{
    const int side = qMin(canvas.width(), canvas.height());
    // The largest picture the icon has, brought to the slot the tray gives
    // (an icon may offer only a small drawing).
    QPixmap picture = m_icon.pixmap(QSize(side, side), 1.0);
    if (!picture.isNull() && picture.width() < side && picture.height() < side)
        picture = picture.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QPainter painter(&canvas);
    painter.drawPixmap((canvas.width() - picture.width()) / 2, (canvas.height() - picture.height()) / 2, picture);
}

void XEmbedTrayIcon::draw()
{
    xcb_connection_t *c = m_conn.get();
    if (!c || !m_window || !m_docked || m_size.isEmpty())
        return;
    const auto put = [c, window = m_window](const QImage &image) {
        const xcb_gcontext_t gc = xcb_generate_id(c);
        xcb_create_gc(c, gc, window, 0, nullptr);
        xcb_put_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, window, gc, quint16(image.width()), quint16(image.height()), 0, 0,
                      0, image.depth() == 32 && image.hasAlphaChannel() ? 32 : 24, quint32(image.sizeInBytes()),
                      image.constBits());
        xcb_free_gc(c, gc);
        xcb_flush(c);
    };
    if (m_argb) {
        QImage canvas(m_size, QImage::Format_ARGB32_Premultiplied);
        canvas.fill(Qt::transparent);
        drawOver(canvas);
        put(canvas);
        return;
    }
    // The tray's own background, as the window shows it once cleared, with
    // the icon drawn over it.
    xcb_clear_area(c, 0, m_window, 0, 0, 0, 0);
    const QSize size = m_size;
    expect(xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, m_window, 0, 0, quint16(size.width()), quint16(size.height()),
                         ~0u)
               .sequence,
           [this, size, put, window = m_window](void *reply) {
               if (window != m_window || size != m_size)
                   return;
               auto *image = static_cast<xcb_get_image_reply_t *>(reply);
               QImage canvas(size, QImage::Format_RGB32);
               if (image && image->depth == 24 && xcb_get_image_data_length(image) == int(canvas.sizeInBytes()))
                   std::memcpy(canvas.bits(), xcb_get_image_data(image), size_t(canvas.sizeInBytes()));
               else
                   canvas.fill(QGuiApplication::palette().color(QPalette::Window));
               drawOver(canvas);
               put(canvas);
           });
    xcb_flush(c);
}

} // namespace platform
