#include "platform/linux/x11pointerlocation.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

#include <cstdlib>

namespace {
// The island's coordinates are the server's pixels only while no screen is
// scaled.
bool unscaled()
{
    const QList<QScreen *> screens = QGuiApplication::screens();
    for (const QScreen *screen : screens) {
        if (screen->devicePixelRatio() != 1.0)
            return false;
    }
    return !screens.isEmpty();
}
} // namespace

namespace platform {

X11PointerLocation::~X11PointerLocation()
{
    disconnect();
}

bool X11PointerLocation::connectOnce() const
{
    if (m_tried)
        return m_conn;
    m_tried = true;
    if (QGuiApplication::platformName() != QLatin1String("xcb") || qEnvironmentVariableIsEmpty("DISPLAY"))
        return false;
    int screen = 0;
    xcb_connection_t *c = xcb_connect(nullptr, &screen);
    if (xcb_connection_has_error(c)) {
        xcb_disconnect(c);
        return false;
    }
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = 0; i < screen && it.rem; ++i)
        xcb_screen_next(&it);
    if (!it.rem) {
        xcb_disconnect(c);
        return false;
    }
    m_root = it.data->root;
    m_conn = c;
    return true;
}

void X11PointerLocation::disconnect() const
{
    if (m_conn) {
        xcb_disconnect(m_conn);
        m_conn = nullptr;
    }
}

QPointF X11PointerLocation::position() const
{
    if (!unscaled() || !connectOnce())
        return QCursor::pos();
    xcb_query_pointer_reply_t *reply = xcb_query_pointer_reply(m_conn, xcb_query_pointer(m_conn, m_root), nullptr);
    if (!reply) {
        // A server gone away or restarted: QCursor from now on.
        if (xcb_connection_has_error(m_conn))
            disconnect();
        return QCursor::pos();
    }
    const QPointF at(reply->root_x, reply->root_y);
    std::free(reply);
    return at;
}

} // namespace platform
