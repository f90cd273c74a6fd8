#include "platform/linux/qtscreenprovider.h"

#include "platform/screens.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

namespace {
ScreenInfo info(const QScreen *s, double primaryHeight)
{
    ScreenInfo i;
    i.name = s->name();
    i.frame = ScreenSpace::flip(QRectF(s->geometry()), primaryHeight);
    i.visibleFrame = ScreenSpace::flip(QRectF(s->availableGeometry()), primaryHeight);
    return i;
}
} // namespace

QtScreenProvider::QtScreenProvider(QObject *parent)
    : ScreenProvider(parent)
{
    for (QScreen *s : QGuiApplication::screens())
        watch(s);
    connect(qGuiApp, &QGuiApplication::screenAdded, this, [this](QScreen *s) {
        watch(s);
        emit screensChanged();
    });
    connect(qGuiApp, &QGuiApplication::screenRemoved, this, &ScreenProvider::screensChanged);
    connect(qGuiApp, &QGuiApplication::primaryScreenChanged, this, &ScreenProvider::screensChanged);
}

void QtScreenProvider::watch(QScreen *screen)
{
    connect(screen, &QScreen::geometryChanged, this, &ScreenProvider::screensChanged);
    connect(screen, &QScreen::availableGeometryChanged, this, &ScreenProvider::screensChanged);
}

double QtScreenProvider::primaryHeight() const
{
    const QScreen *p = QGuiApplication::primaryScreen();
    return p ? p->geometry().y() + p->geometry().height() : 0;
}

QList<ScreenInfo> QtScreenProvider::screens() const
{
    QList<ScreenInfo> out;
    const double h = primaryHeight();
    for (const QScreen *s : QGuiApplication::screens())
        out << info(s, h);
    return out;
}

std::optional<ScreenInfo> QtScreenProvider::mainScreen() const
{
    // The primary screen: the one the desktop's own top bar lives on.
    const QScreen *s = QGuiApplication::primaryScreen();
    if (!s)
        return std::nullopt;
    return info(s, primaryHeight());
}

QPointF QtPointerLocation::position() const
{
    return QCursor::pos();
}
