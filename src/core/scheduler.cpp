#include "core/scheduler.h"

#include <QPointer>
#include <QTimer>

#include <chrono>

namespace {
// Stops a task's timer and lets it go.
std::function<void()> stopper(QPointer<QTimer> guard)
{
    return [guard]() {
        if (guard) {
            guard->stop();
            guard->deleteLater();
        }
    };
}
} // namespace

TaskHandle QtScheduler::after(int delayMs, std::function<void()> fn)
{
    return start(delayMs, false, std::move(fn));
}

TaskHandle QtScheduler::every(int intervalMs, std::function<void()> fn)
{
    return start(intervalMs, true, std::move(fn));
}

TaskHandle QtScheduler::start(int ms, bool repeat, std::function<void()> fn)
{
    auto state = std::make_shared<TaskHandle::State>();
    auto *timer = new QTimer;
    timer->setSingleShot(!repeat);
    timer->setTimerType(Qt::PreciseTimer);
    QPointer<QTimer> guard(timer);
    std::weak_ptr<TaskHandle::State> weak = state;
    QObject::connect(timer, &QTimer::timeout, timer, [weak, fn = std::move(fn), timer, repeat]() {
        auto s = weak.lock();
        if (!s || s->cancelled) {
            timer->deleteLater();
            return;
        }
        if (!repeat) {
            s->finished = true;
            timer->deleteLater();
        }
        fn();
    });
    state->stop = stopper(guard);
    timer->start(qMax(0, ms));
    return TaskHandle(state);
}

TaskHandle QtScheduler::everyAtRate(int perSecond, std::function<void()> fn)
{
    const int rate = qMax(1, perSecond);
    auto state = std::make_shared<TaskHandle::State>();
    auto *timer = new QTimer;
    timer->setSingleShot(true);
    timer->setTimerType(Qt::PreciseTimer);
    QPointer<QTimer> guard(timer);
    auto tick = std::make_shared<qint64>(0);
    auto arm = [timer, tick, rate] {
        const qint64 now = std::chrono::duration_cast<std::chrono::milliseconds>(
                               std::chrono::steady_clock::now().time_since_epoch())
                               .count();
        *tick = nextTick(*tick, now, rate);
        timer->start(int(qMax<qint64>(0, tickMs(*tick, rate) - now)));
    };
    std::weak_ptr<TaskHandle::State> weak = state;
    QObject::connect(timer, &QTimer::timeout, timer, [weak, fn = std::move(fn), timer, arm]() {
        auto s = weak.lock();
        if (!s || s->cancelled) {
            timer->deleteLater();
            return;
        }
        // The next tick is set before the work, so the work's own time never
        // shifts the schedule; a cancel from inside fn stops it again.
        arm();
        fn();
    });
    state->stop = stopper(guard);
    arm();
    return TaskHandle(state);
}
