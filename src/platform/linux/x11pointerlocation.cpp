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

bool X11PointerLocation::connectOnce() const
{
    if (!m_tried) {
        m_tried = true;
        if (QGuiApplication::platformName() == QLatin1String("xcb")) {
            m_x = std::make_unique<X11Connection>(X11Connection::Kind::own);
            if (!*m_x || m_x->root() == XCB_WINDOW_NONE)
                m_x.reset();
        }
    }
    return m_x != nullptr;
}

QPointF X11PointerLocation::position() const
{
    if (!unscaled() || !connectOnce())
        return QCursor::pos();
    xcb_connection_t *c = m_x->get();
    xcb_query_pointer_reply_t *reply = xcb_query_pointer_reply(c, xcb_query_pointer(c, m_x->root()), nullptr);
    if (!reply) {
        // A server gone away or restarted: QCursor from now on.
        if (xcb_connection_has_error(c))
            m_x.reset();
        return QCursor::pos();
    }
    const QPointF at(reply->root_x, reply->root_y);
    std::free(reply);
    return at;
}

} // namespace platform
