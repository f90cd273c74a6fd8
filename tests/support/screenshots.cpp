#include "support/screenshots.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>

namespace Screenshots {

QString outputDir()
{
    const QString dir = qEnvironmentVariable("PAVLET_SCREENSHOT_DIR");
    if (!dir.isEmpty())
        QDir().mkpath(dir);
    return dir;
}

void save(const QImage &image, const QString &dir, const QString &name)
{
    if (!dir.isEmpty())
        image.save(QDir(dir).filePath(name + QStringLiteral(".png")));
}

void spin(int ms)
{
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

QImage settled(const std::function<QImage()> &grab, int firstMs, int gapMs, int tries,
               const std::function<void(int)> &wait)
{
    wait(firstMs);
    QImage image = grab();
    for (int i = 0; i < tries; ++i) {
        wait(gapMs);
        QImage next = grab();
        const bool same = next == image;
        image = std::move(next);
        if (same)
            break;
    }
    return image;
}

bool near(const QColor &a, const QColor &b, int tolerance)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance
        && std::abs(a.blue() - b.blue()) <= tolerance;
}

bool anyNear(const QImage &image, const QRect &area, const QColor &colour, int tolerance)
{
    const QRect r = area.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (near(image.pixelColor(x, y), colour, tolerance))
                return true;
    return false;
}

QStringList withoutPlatformNotes(QStringList warnings)
{
    warnings.removeIf([](const QString &w) { return w.startsWith(QLatin1String("This plugin does not support")); });
    return warnings;
}

} // namespace Screenshots
