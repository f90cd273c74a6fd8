#include "platform/linux/qtscreenprovider.h"

#include "platform/screenprovider.h"

#include <QGuiApplication>
#include <QScreen>

namespace platform {

namespace {
platform::ScreenInfo info(const QScreen *s, double primaryHeight)
{
    platform::ScreenInfo i;
    i.name = s->name();
    i.frame = ScreenSpace::flip(QRectF(s->geometry()), primaryHeight);
    i.visibleFrame = ScreenSpace::flip(QRectF(s->availableGeometry()), primaryHeight);
    return i;
}
} // namespace

QtScreenProvider::QtScreenProvider(QObject *parent)
    : platform::IScreenProvider(parent)
{
    for (QScreen *s : QGuiApplication::screens())
        watch(s);
    connect(qGuiApp, &QGuiApplication::screenAdded, this, [this](QScreen *s) {
        watch(s);
        emit screensChanged();
    });
    connect(qGuiApp, &QGuiApplication::screenRemoved, this, &platform::IScreenProvider::screensChanged);
    connect(qGuiApp, &QGuiApplication::primaryScreenChanged, this, &platform::IScreenProvider::screensChanged);
}

void QtScreenProvider::watch(QScreen *screen)
{
    connect(screen, &QScreen::geometryChanged, this, &platform::IScreenProvider::screensChanged);
    connect(screen, &QScreen::availableGeometryChanged, this, &platform::IScreenProvider::screensChanged);
}

double QtScreenProvider::primaryHeight() const
{
    const QScreen *p = QGuiApplication::primaryScreen();
    return p ? p->geometry().y() + p->geometry().height() : 0;
}

QList<platform::ScreenInfo> QtScreenProvider::screens() const
{
    QList<platform::ScreenInfo> out;
    const double h = primaryHeight();
    for (const QScreen *s : QGuiApplication::screens())
        out << info(s, h);
    return out;
}

std::optional<platform::ScreenInfo> QtScreenProvider::mainScreen() const
{
    // The primary screen: the one the desktop's own top bar lives on.
    const QScreen *s = QGuiApplication::primaryScreen();
    if (!s)
        return std::nullopt;
    return info(s, primaryHeight());
}

} // namespace platform
