#include "platform/linux/qtscreengrabber.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

namespace platform {

QImage QtScreenGrabber::grabScreen()
{
    QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {};
    return screen->grabWindow(0).toImage();
}

} // namespace platform
