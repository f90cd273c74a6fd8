#pragma once

#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>
#include <QStringList>

#include <functional>

// What the screenshot tests share: where pictures go, waiting for a window's
// picture to settle, and looking for colours in it.
namespace Screenshots {

// $PAVLET_SCREENSHOT_DIR, made if missing; empty when unset.
QString outputDir();
// Writes image as dir/name.png; does nothing without a folder.
void save(const QImage &image, const QString &dir, const QString &name);

// Runs the event loop for ms of real time.
void spin(int ms);
// Waits firstMs, then grabs until two grabs gapMs apart match (at most
// tries more grabs): on a busy machine springs take more than their nominal
// time. wait defaults to spin.
QImage settled(const std::function<QImage()> &grab, int firstMs, int gapMs, int tries,
               const std::function<void(int)> &wait = spin);

// Whether each channel of a is within tolerance of b's.
bool near(const QColor &a, const QColor &b, int tolerance);
// Whether some pixel inside area is within tolerance of colour.
bool anyNear(const QImage &image, const QRect &area, const QColor &colour, int tolerance);

// The warnings without the GL platform's notes about what it lacks.
QStringList withoutPlatformNotes(QStringList warnings);

} // namespace Screenshots
