#include "platform/linux/x11connection.h"

#include "core/logging.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

namespace platform {

X11Connection::X11Connection(Kind kind)
{
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (x11 && kind == Kind::sharedIfAny)
        m_conn = x11->connection();
    if (!m_conn) {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            return;
        int screen = 0;
        xcb_connection_t *conn = xcb_connect(nullptr, &screen);
        if (xcb_connection_has_error(conn)) {
            qCDebug(lcPlatform) << "no X server at" << qgetenv("DISPLAY");
            xcb_disconnect(conn);
            return;
        }
        m_conn = conn;
        m_owned = true;
        xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(conn));
        for (int i = 0; i < screen && it.rem; ++i)
            xcb_screen_next(&it);
        if (it.rem)
            m_root = it.data->root;
        return;
    }
    // Qt's connection: the first screen's root (grabs on it see every key).
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(m_conn));
    if (it.rem)
        m_root = it.data->root;
}

X11Connection::~X11Connection()
{
    if (m_owned && m_conn)
        xcb_disconnect(m_conn);
}

} // namespace platform
