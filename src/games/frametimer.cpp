#include "games/frametimer.h"

#include "core/clock.h"

#include <algorithm>

FrameTimer::FrameTimer(Scheduler *scheduler, Clock *clock)
    : m_scheduler(scheduler)
    , m_clock(clock)
{
}

void FrameTimer::start(int intervalMs, std::function<void()> fire)
{
    m_task.cancel();
    m_task = m_scheduler->every(intervalMs, std::move(fire));
}

void FrameTimer::startAtRate(int perSecond, std::function<void()> fire)
{
    m_task.cancel();
    m_task = m_scheduler->everyAtRate(perSecond, std::move(fire));
}

void FrameTimer::startStepping(int perSecond, double cap, std::function<void(double)> step)
{
    m_lastTick = now();
    startAtRate(perSecond, [this, cap, step = std::move(step)] {
        const double dt = takeStep(cap);
        if (dt > 0)
            step(dt);
    });
}

void FrameTimer::stop()
{
    m_task.cancel();
}

double FrameTimer::now() const
{
    return m_clock->monotonicSeconds();
}

double FrameTimer::takeStep(double cap)
{
    const double t = now();
    const double dt = t - m_lastTick.value_or(t);
    m_lastTick = t;
    return std::min(dt, cap);
}
