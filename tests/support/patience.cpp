#include "support/patience.h"

#include "support/itemtree.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QPointer>
#include <QQuickItem>
#include <QQuickWindow>
#include <QThread>

#include <atomic>
#include <memory>

namespace Patience {

namespace {

void spin(int ms)
{
    QDeadlineTimer deadline(ms);
    do
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    while (!deadline.hasExpired());
}

double loadPerCore()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const double load = file.readLine().split(' ').value(0).toDouble();
    return load / std::max(1, QThread::idealThreadCount());
}

// Where the item stands on screen and how much of it shows.
struct Look {
    QRectF rect;
    double opacity = -1;
    bool operator==(const Look &) const = default;
};

Look lookOf(const QQuickItem *item)
{
    QRectF r = ItemTree::sceneRect(item);
    if (const QWindow *w = item->window())
        r.translate(w->position());
    return {r, ItemTree::effectiveOpacity(item)};
}

} // namespace

double factor()
{
    return std::min(8.0, 2.0 + loadPerCore());
}

int deadline(int ms)
{
    return int(ms * factor());
}

bool until(const std::function<bool()> &condition, int ms, const std::function<void(int)> &wait)
{
    QElapsedTimer t;
    t.start();
    const int limit = deadline(ms);
    while (!condition()) {
        if (t.elapsed() > limit)
            return false;
        wait ? wait(10) : spin(10);
    }
    return true;
}

QString notShown(const QQuickItem *item)
{
    if (!item)
        return QStringLiteral("there is none");
    if (!item->window())
        return QStringLiteral("it is in no window");
    if (!item->window()->isExposed())
        return QStringLiteral("its window is not shown");
    if (ItemTree::effectiveOpacity(item) <= 0)
        return QStringLiteral("it is hidden");
    if (item->width() <= 0 || item->height() <= 0)
        return QStringLiteral("it has no size");
    if (!item->isEnabled())
        return QStringLiteral("it is disabled");
    return {};
}

QString describe(const QQuickItem *item)
{
    if (!item)
        return QStringLiteral("no item");
    QString type = QString::fromLatin1(item->metaObject()->className());
    type = type.left(type.indexOf(QLatin1String("_QML")));
    QString name = item->objectName();
    for (const char *p : {"moduleId", "title", "text", "help", "name"}) {
        if (!name.isEmpty())
            break;
        const QVariant v = item->property(p);
        if (v.canConvert<QString>())
            name = v.toString();
    }
    const Look look = lookOf(item);
    return QStringLiteral("%1%2 at %3,%4 %5x%6, opacity %7%8")
        .arg(type, name.isEmpty() ? QString() : QStringLiteral(" \"%1\"").arg(name))
        .arg(look.rect.x(), 0, 'f', 1)
        .arg(look.rect.y(), 0, 'f', 1)
        .arg(look.rect.width(), 0, 'f', 1)
        .arg(look.rect.height(), 0, 'f', 1)
        .arg(look.opacity, 0, 'f', 2)
        .arg(item->isEnabled() ? QString() : QStringLiteral(", disabled"));
}

bool ready(QQuickItem *item, int ms, QString *why, const std::function<void(int)> &wait)
{
    QPointer<QQuickItem> guard(item);
    // Frames drawn, counted on the render thread.
    auto frames = std::make_shared<std::atomic<int>>(0);
    QMetaObject::Connection counting;
    if (item && item->window())
        counting = QObject::connect(item->window(), &QQuickWindow::frameSwapped, item->window(),
                                    [frames] { ++*frames; }, Qt::DirectConnection);
    Look last;
    int framesThen = 0;
    QElapsedTimer since;
    since.start();
    QString problem;
    const bool ok = until([&] {
        problem = guard ? notShown(guard) : QStringLiteral("it is gone");
        if (!problem.isEmpty())
            return false;
        const Look now = lookOf(guard);
        if (now != last) {
            last = now;
            framesThen = *frames;
            since.restart();
        }
        // Unchanged over two frames, or for a while in which nothing was
        // drawn that could have moved it.
        const int drawn = *frames - framesThen;
        problem = QStringLiteral("it still moves or fades");
        return drawn >= 2 || since.elapsed() >= 250;
    }, ms, wait);
    QObject::disconnect(counting);
    if (!ok && why)
        *why = QStringLiteral("%1 not ready: %2").arg(describe(guard), problem);
    return ok;
}

} // namespace Patience
