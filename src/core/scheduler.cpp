#include "core/scheduler.h"

#include <QPointer>
#include <QTimer>

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
    state->stop = [guard]() {
        if (guard) {
            guard->stop();
            guard->deleteLater();
        }
    };
    timer->start(qMax(0, ms));
    return TaskHandle(state);
}
