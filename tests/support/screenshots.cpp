#include "support/screenshots.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QPainter>

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

int blurredPixels(const QImage &image)
{
    QImage shown(image.size(), QImage::Format_RGB32);
    shown.fill(QColor(200, 40, 160));
    QPainter(&shown).drawImage(0, 0, image);
    const int x = shown.width() / 2;
    int blurred = 0;
    for (int y = 1; y + 1 < shown.height(); ++y) {
        const int a = qGray(shown.pixel(x, y - 1)), b = qGray(shown.pixel(x, y)), c = qGray(shown.pixel(x, y + 1));
        blurred += (a + 12 < b && b + 12 < c) || (a > b + 12 && b > c + 12);
    }
    return blurred;
}

} // namespace Screenshots
