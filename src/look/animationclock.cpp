#include "look/animationclock.h"

#include <QJSEngine>
#include <QQmlEngine>
#include <algorithm>
#include <cmath>
#include <utility>

namespace {
constexpr const char *clockProperty = "pavletAnimationClock";
constexpr const char *sourceClockProperty = "pavletAnimationSourceClock";
constexpr const char *sourceSchedulerProperty = "pavletAnimationSourceScheduler";
// 1 January 2001, 00:00 UTC, in seconds since 1970.
constexpr qint64 referenceEpochSeconds = 978307200;
constexpr double maxFps = 120;
} // namespace

AnimationClock::AnimationClock(const Clock *clock, Scheduler *scheduler, QObject *parent)
    : QObject(parent), m_clock(clock), m_scheduler(scheduler)
{
    if (!m_clock) {
        m_ownClock = std::make_unique<SystemClock>();
        m_clock = m_ownClock.get();
    }
    if (!m_scheduler) {
        m_ownScheduler = std::make_unique<QtScheduler>();
        m_scheduler = m_ownScheduler.get();
    }
    m_nowMs = m_clock->nowMs();
}

AnimationClock::~AnimationClock()
{
    m_task.cancel();
    // Taken out first: a ticker told to let go must not reach back into the
    // list being walked.
    const auto tickers = std::exchange(m_tickers, {});
    for (auto *ticker : tickers)
        ticker->forgetClock();
}

double AnimationClock::referenceSeconds(qint64 msSinceEpoch)
{
    return double(msSinceEpoch) / 1000.0 - double(referenceEpochSeconds);
}

AnimationClock *AnimationClock::create(QQmlEngine *qmlEngine, QJSEngine *)
{
    auto *clock = forEngine(qmlEngine);
    QJSEngine::setObjectOwnership(clock, QJSEngine::CppOwnership);
    return clock;
}

AnimationClock *AnimationClock::forEngine(QQmlEngine *engine)
{
    if (!engine)
        return nullptr;
    if (auto *existing = qobject_cast<AnimationClock *>(engine->property(clockProperty).value<QObject *>()))
        return existing;
    auto *clock = reinterpret_cast<const Clock *>(engine->property(sourceClockProperty).value<quintptr>());
    auto *scheduler = reinterpret_cast<Scheduler *>(engine->property(sourceSchedulerProperty).value<quintptr>());
    auto *made = new AnimationClock(clock, scheduler, engine);
    engine->setProperty(clockProperty, QVariant::fromValue<QObject *>(made));
    return made;
}

void AnimationClock::setSource(QQmlEngine *engine, const Clock *clock, Scheduler *scheduler)
{
    engine->setProperty(sourceClockProperty, QVariant::fromValue(reinterpret_cast<quintptr>(clock)));
    engine->setProperty(sourceSchedulerProperty, QVariant::fromValue(reinterpret_cast<quintptr>(scheduler)));
}

int AnimationClock::runningTickers() const
{
    return int(std::count_if(m_tickers.cbegin(), m_tickers.cend(),
                             [](const AnimationTicker *t) { return t->running(); }));
}

void AnimationClock::attach(AnimationTicker *ticker)
{
    if (!m_tickers.contains(ticker))
        m_tickers.append(ticker);
    reschedule();
}

void AnimationClock::detach(AnimationTicker *ticker)
{
    m_tickers.removeAll(ticker);
    reschedule();
}

void AnimationClock::reschedule()
{
    double fastest = 0;
    for (const auto *ticker : std::as_const(m_tickers)) {
        if (ticker->running())
            fastest = std::max(fastest, ticker->fps());
    }
    const int interval = fastest > 0 ? std::max(1, int(std::lround(1000.0 / fastest))) : 0;
    if (interval == m_intervalMs && (interval == 0 || m_task.isActive()))
        return;
    m_intervalMs = interval;
    if (interval == 0)
        m_task.cancel();
    else
        m_task = m_scheduler->everyAtRate(int(std::lround(fastest)), [this] { tick(); });
    emit intervalChanged();
}

void AnimationClock::tick()
{
    m_nowMs = m_clock->nowMs();
    emit ticked();
    // A ticker may stop or go away while it is told of the time.
    const auto tickers = m_tickers;
    for (auto *ticker : tickers) {
        if (m_tickers.contains(ticker))
            ticker->offer(m_nowMs);
    }
}

AnimationTicker::AnimationTicker(QObject *parent) : QObject(parent) {}

AnimationTicker::~AnimationTicker()
{
    if (m_clock)
        m_clock->detach(this);
}

void AnimationTicker::componentComplete()
{
    if (!m_clock)
        setClock(AnimationClock::forEngine(qmlEngine(this)));
}

void AnimationTicker::setClock(AnimationClock *clock)
{
    if (m_clock == clock)
        return;
    if (m_clock)
        m_clock->detach(this);
    m_clock = clock;
    if (m_clock) {
        if (m_running)
            restart(m_clock->sourceNowMs());
        m_clock->attach(this);
    }
}

void AnimationTicker::forgetClock()
{
    m_clock = nullptr;
}

void AnimationTicker::setRunning(bool running)
{
    if (m_running == running)
        return;
    m_running = running;
    if (m_clock) {
        if (running)
            restart(m_clock->sourceNowMs());
        m_clock->reschedule();
    }
    emit runningChanged();
}

void AnimationTicker::setFps(double fps)
{
    fps = std::clamp(std::isfinite(fps) ? fps : 0.0, 0.0, maxFps);
    if (qFuzzyCompare(m_fps, fps))
        return;
    m_fps = fps;
    if (m_clock)
        m_clock->reschedule();
    emit fpsChanged();
}

void AnimationTicker::restart(qint64 nowMs)
{
    m_startMs = m_lastMs = m_nowMs = nowMs;
    emit timeChanged();
}

void AnimationTicker::offer(qint64 nowMs)
{
    if (!m_running || m_fps <= 0)
        return;
    const double period = 1000.0 / m_fps;
    if (nowMs < m_lastMs - BackwardSlackMs) {
        // The system time was set back: the views follow it at once. The
        // time since the start goes on from where it was, not backwards.
        m_startMs -= m_lastMs - nowMs;
        m_lastMs = m_nowMs = nowMs;
        emit timeChanged();
        return;
    }
    // A quarter period of slack, so a 30 fps ticker on a 60 Hz clock hears
    // every second tick rather than every third.
    if (double(nowMs - m_lastMs) < period * 0.75)
        return;
    m_lastMs = m_nowMs = nowMs;
    emit timeChanged();
}
