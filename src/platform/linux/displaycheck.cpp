#include "platform/linux/displaycheck.h"

#include <xcb/xcb.h>

namespace platform {

namespace {
xcb_connection_t *heldCheck = nullptr;
} // namespace

QString missingDisplayReason()
{
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (!platform.isEmpty() && !platform.startsWith("xcb") && !platform.startsWith("wayland"))
        return {};
    const QByteArray display = qgetenv("DISPLAY");
    const bool wayland = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    if (display.isEmpty()) {
        if (wayland && !platform.startsWith("xcb"))
            return {};
        return QStringLiteral("no DISPLAY or WAYLAND_DISPLAY is set");
    }
    if (wayland && !platform.startsWith("xcb"))
        return {};
    xcb_connection_t *c = xcb_connect(display.constData(), nullptr);
    if (xcb_connection_has_error(c)) {
        xcb_disconnect(c);
        return QStringLiteral("the X server at %1 refused the connection").arg(QString::fromLocal8Bit(display));
    }
    releaseDisplayCheck();
    heldCheck = c;
    return {};
}

void releaseDisplayCheck()
{
    if (heldCheck)
        xcb_disconnect(heldCheck);
    heldCheck = nullptr;
}

} // namespace platform
