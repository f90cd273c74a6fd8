#include "app/frameprobe.h"

#include "island/notchviewmodel.h"

#include <QAbstractEventDispatcher>
#include <QMetaEnum>
#include <QQuickWindow>
#include <QTimer>

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
    // Swaps come from the render thread when the scene renders on one.
    connect(window, &QQuickWindow::frameSwapped, this, [this] { frameSwapped(); }, Qt::DirectConnection);
}

FrameProbe::~FrameProbe() = default;

void FrameProbe::stateChanged()
{
    const int state = int(m_model->state());
    const QMetaEnum names = QMetaEnum::fromType<Island::NotchState>();
    {
        QMutexLocker locker(&m_lock);
        if (m_changedAt >= 0)
            return; // one opening at a time; the next change starts after the report
        m_changedAt = m_awakeAt >= 0 ? m_awakeAt : m_clock.elapsed();
        m_frames.clear();
    }
    m_state = QString::fromLatin1(names.valueToKey(state));
    m_first = !m_seen.contains(state);
    m_seen.insert(state);
    QTimer::singleShot(watchMs, this, &FrameProbe::report);
}

void FrameProbe::frameSwapped()
{
    QMutexLocker locker(&m_lock);
    if (m_changedAt >= 0)
        m_frames << m_clock.elapsed();
}

void FrameProbe::report()
{
    qint64 start;
    QList<qint64> frames;
    {
        QMutexLocker locker(&m_lock);
        start = m_changedAt;
        frames = m_frames;
        m_changedAt = -1;
    }
    qint64 longest = 0, previous = start;
    for (qint64 t : std::as_const(frames)) {
        longest = std::max(longest, t - previous);
        previous = t;
    }
    const qint64 firstFrame = frames.isEmpty() ? -1 : frames.first() - start;
    m_out.write(QStringLiteral("state=%1 first=%2 firstFrameMs=%3 longestGapMs=%4 frames=%5\n")
                    .arg(m_state).arg(m_first ? 1 : 0).arg(firstFrame).arg(longest).arg(frames.size())
                    .toUtf8());
    m_out.flush();
}
