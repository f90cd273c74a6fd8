#include "app/frameprobe.h"

#include "island/notchviewmodel.h"

#include <QAbstractEventDispatcher>
#include <QGuiApplication>
#include <QMetaEnum>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSocketNotifier>
#include <QTimer>

#include <fcntl.h>
#include <unistd.h>

namespace {
// How long after a change its frames are watched.
constexpr int watchMs = 500;
} // namespace

FrameProbe::FrameProbe(NotchViewModel *model, QQuickWindow *window, const QString &path, QObject *parent)
    : QObject(parent), m_model(model), m_out(path)
{
    m_out.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text);
    m_clock.start();
    // A change of state runs inside the turn of the event loop that caused
    // it, after whatever else answers it (the views build the new content
    // first): the opening counts from when that turn began.
    connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::awake, this,
            [this] { m_awakeAt = m_clock.elapsed(); });
    connect(model, &NotchViewModel::stateChanged, this, &FrameProbe::stateChanged);
    m_windows << window;
    // Swaps come from the render thread when the scene renders on one.
    connect(window, &QQuickWindow::frameSwapped, this, [this] { frameSwapped(0); }, Qt::DirectConnection);

    const QByteArray control = qgetenv("PAVLET_FRAME_PROBE_CONTROL");
    if (!control.isEmpty()) {
        // Read and write, so that the pipe never reads as closed between
        // two writers.
        m_control = ::open(control.constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
        if (m_control >= 0) {
            m_notifier = new QSocketNotifier(m_control, QSocketNotifier::Read, this);
            connect(m_notifier, &QSocketNotifier::activated, this, &FrameProbe::readControl);
        }
    }
}

FrameProbe::~FrameProbe()
{
    if (m_control >= 0)
        ::close(m_control);
}

bool FrameProbe::begin(const QString &name, bool first)
{
    {
        QMutexLocker locker(&m_lock);
        if (m_changedAt >= 0)
            return false; // one opening at a time; the next starts after the report
        m_changedAt = m_awakeAt >= 0 ? m_awakeAt : m_clock.elapsed();
        m_frames.clear();
    }
    m_name = name;
    m_first = first;
    QTimer::singleShot(watchMs, this, &FrameProbe::report);
    return true;
}

void FrameProbe::stateChanged()
{
    const int state = int(m_model->state());
    const QMetaEnum names = QMetaEnum::fromType<Island::NotchState>();
    if (begin(QString::fromLatin1(names.valueToKey(state)), !m_seenStates.contains(state)))
        m_seenStates.insert(state);
}

// Follows the frames of every window of the program, the settings window
// too once it exists.
void FrameProbe::watchWindows()
{
    const QWindowList windows = QGuiApplication::topLevelWindows();
    for (QWindow *w : windows) {
        auto *quick = qobject_cast<QQuickWindow *>(w);
        if (!quick || m_windows.contains(quick))
            continue;
        const int index = int(m_windows.size());
        m_windows << quick;
        connect(quick, &QQuickWindow::frameSwapped, this, [this, index] { frameSwapped(index); },
                Qt::DirectConnection);
    }
}

void FrameProbe::frameSwapped(int window)
{
    QMutexLocker locker(&m_lock);
    if (m_changedAt >= 0)
        m_frames[window] << m_clock.elapsed();
}

void FrameProbe::report()
{
    qint64 start;
    QHash<int, QList<qint64>> frames;
    {
        QMutexLocker locker(&m_lock);
        start = m_changedAt;
        frames = m_frames;
        m_changedAt = -1;
    }
    qint64 longest = 0, firstFrame = -1;
    int count = 0, windows = 0;
    for (const QList<qint64> &times : std::as_const(frames)) {
        qint64 previous = start;
        for (qint64 t : times) {
            longest = std::max(longest, t - previous);
            previous = t;
        }
        if (!times.isEmpty() && (firstFrame < 0 || times.first() - start < firstFrame))
            firstFrame = times.first() - start;
        count += int(times.size());
        windows += times.isEmpty() ? 0 : 1;
    }
    m_out.write(QStringLiteral("opening=%1 first=%2 firstFrameMs=%3 longestGapMs=%4 frames=%5 windows=%6\n")
                    .arg(m_name).arg(m_first ? 1 : 0).arg(firstFrame).arg(longest).arg(count).arg(windows)
                    .toUtf8());
    m_out.flush();
}

void FrameProbe::readControl()
{
    char buffer[512];
    for (;;) {
        const ssize_t n = ::read(m_control, buffer, sizeof buffer);
        if (n <= 0)
            break;
        m_pending.append(buffer, n);
    }
    for (qsizetype end; (end = m_pending.indexOf('\n')) >= 0;) {
        const QString line = QString::fromUtf8(m_pending.left(end)).trimmed();
        m_pending.remove(0, end + 1);
        if (!line.isEmpty())
            perform(line);
    }
}

void FrameProbe::locate(const QString &name)
{
    // The first control on screen that shows name: its text, or its symbol.
    std::function<QQuickItem *(QQuickItem *)> find = [&](QQuickItem *item) -> QQuickItem * {
        if (!item->isVisible() || item->opacity() <= 0)
            return nullptr;
        if (item->property("text").toString() == name
            || (QByteArray(item->metaObject()->className()).startsWith("Symbol") && item->property("name").toString() == name))
            return item;
        for (QQuickItem *child : item->childItems())
            if (QQuickItem *found = find(child))
                return found;
        return nullptr;
    };
    for (const QPointer<QQuickWindow> &window : std::as_const(m_windows)) {
        if (!window || !window->isVisible())
            continue;
        if (QQuickItem *item = find(window->contentItem())) {
            const QPoint at = window->mapToGlobal(item->mapToScene(QPointF(item->width() / 2, item->height() / 2)).toPoint());
            m_out.write(QStringLiteral("where=%1 x=%2 y=%3\n").arg(name).arg(at.x()).arg(at.y()).toUtf8());
            m_out.flush();
            return;
        }
    }
    m_out.write(QStringLiteral("where=%1 none\n").arg(name).toUtf8());
    m_out.flush();
}

void FrameProbe::perform(const QString &opening)
{
    watchWindows();
    if (opening.startsWith(QLatin1String("where:"))) {
        locate(opening.mid(6));
        return;
    }
    m_awakeAt = m_clock.elapsed();
    if (!begin(opening, !m_seenOpenings.contains(opening)))
        return;
    m_seenOpenings.insert(opening);
    NotchViewModel *m = m_model;
    if (opening == QLatin1String("settings") || opening.startsWith(QLatin1String("settings:"))) {
        m->openSettings(opening.section(QLatin1Char(':'), 1));
        // The window may be built by the request, which the program answers
        // on a later turn.
        QTimer::singleShot(0, this, &FrameProbe::watchWindows);
    } else if (opening.startsWith(QLatin1String("game:"))) {
        bool ok = false;
        const int game = QMetaEnum::fromType<Island::PavletGame>().keyToValue(opening.mid(5).toLatin1(), &ok);
        if (ok)
            m->openGame(Island::PavletGame(game));
    } else if (opening == QLatin1String("update")) {
        m->showUpdate();
    } else if (opening == QLatin1String("collapsed")) {
        m->collapse();
    } else {
        // A state's own name opens it: "canvas" → openCanvas().
        const QByteArray method = "open" + opening.left(1).toUpper().toLatin1() + opening.mid(1).toLatin1();
        if (!QMetaObject::invokeMethod(m, method.constData()))
            m_out.write(QStringLiteral("unknown opening %1\n").arg(opening).toUtf8());
    }
}
