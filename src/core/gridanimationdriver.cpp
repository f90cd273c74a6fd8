#include "core/gridanimationdriver.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWindow>

#include <chrono>

namespace {
qint64 steadyMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}
} // namespace

GridAnimationDriver::GridAnimationDriver(Scheduler *scheduler, QObject *parent)
    : QAnimationDriver(parent)
    , m_scheduler(scheduler)
{
}

GridAnimationDriver::~GridAnimationDriver()
{
    m_task.cancel();
    for (auto &[window, paced] : m_windows)
        paced.held.cancel();
    if (m_pacing && QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
    if (isRunning())
        uninstall();
}

void GridAnimationDriver::start()
{
    QAnimationDriver::start();
    m_task = m_scheduler->everyAtRate(PerSecond, [this] { advance(); });
}

void GridAnimationDriver::stop()
{
    m_task.cancel();
    QAnimationDriver::stop();
}

void GridAnimationDriver::paceFrames()
{
    if (m_pacing || !QCoreApplication::instance())
        return;
    m_pacing = true;
    QCoreApplication::instance()->installEventFilter(this);
}

bool GridAnimationDriver::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::UpdateRequest || !watched->isWindowType())
        return false;
    auto *window = static_cast<QWindow *>(watched);
    if (!m_windows.count(window))
        connect(window, &QObject::destroyed, this, [this, window] {
            auto found = m_windows.find(window);
            if (found != m_windows.end()) {
                found->second.held.cancel();
                m_windows.erase(found);
            }
        });
    Paced &paced = m_windows[window];
    const qint64 now = steadyMs();
    const qint64 interval = intervalAt(now);
    if (paced.drawnIn != interval) {
        paced.drawnIn = interval;
        return false;
    }
    // A second frame in this interval: it is asked again at the next tick.
    if (!paced.held.isActive()) {
        const qint64 due = Scheduler::tickMs(interval + 1, PerSecond) - now;
        paced.held = m_scheduler->after(int(std::max<qint64>(0, due)), [window] { window->requestUpdate(); });
    }
    return true;
}
