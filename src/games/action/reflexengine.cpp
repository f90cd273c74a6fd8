#include "games/action/reflexengine.h"

#include "core/clock.h"
#include "core/keycodes.h"
#include "core/keyinput.h"
#include "core/random.h"
#include "core/userdefaults.h"
#include "games/action/closedrandom.h"

#include <algorithm>
#include <cmath>

ReflexEngine::ReflexEngine(UserDefaults *defaults, Clock *clock, Scheduler *scheduler, Random *random,
                           QObject *parent)
    : ArcadeEngine(defaults, clock, scheduler, random, parent)
    , m_anim(this->scheduler(), this->clock())
{
    // Only a whole number counts as a stored best, and only one a tap can
    // measure: a reaction takes at least 1 ms.
    switch (this->defaults()->typeOf(BestKey)) {
    case UserDefaults::Type::Int:
        m_bestMS = this->defaults()->intValue(BestKey);
        break;
    case UserDefaults::Type::Double: {
        const double v = this->defaults()->doubleValue(BestKey);
        if (std::isfinite(v) && v == std::trunc(v) && std::abs(v) < 9.0e15)
            m_bestMS = qint64(v);
        break;
    }
    default:
        break;
    }
    if (m_bestMS && *m_bestMS < 1)
        m_bestMS.reset();
}

QString ReflexEngine::rating(qint64 ms)
{
    if (ms < 160)
        return QStringLiteral("Insane");
    if (ms < 200)
        return QStringLiteral("Fast");
    if (ms < 260)
        return QStringLiteral("Sharp");
    if (ms < 320)
        return QStringLiteral("Okay");
    return QStringLiteral("Slow");
}

QString ReflexEngine::ratingLabel() const
{
    return m_lastMS ? rating(*m_lastMS) : QString();
}

void ReflexEngine::reset()
{
    stop();
    setPhase(Phase::ready);
    setLastMS(std::nullopt);
    setPulse(0);
}

void ReflexEngine::stop()
{
    m_waitTask.cancel();
    m_anim.stop();
    m_goAtMs.reset();
    m_pulseStart.reset();
}

void ReflexEngine::tap()
{
    switch (m_phase) {
    case Phase::ready:
    case Phase::result:
    case Phase::falseStart:
        start();
        break;
    case Phase::waiting:
        // A wait cut off by leaving the page has nothing left to jump
        // ahead of: the tap starts a fresh attempt instead.
        if (!m_waitTask.isActive()) {
            start();
            break;
        }
        m_waitTask.cancel();
        setPhase(Phase::falseStart);
        stopPulse();
        break;
    case Phase::go: {
        // GO left on screen after a stop has no start time; begin again
        // rather than leave the page stuck.
        if (!m_goAtMs) {
            start();
            break;
        }
        // Whole milliseconds straight from the clock, so no rounding can
        // shave one off.
        const qint64 ms = std::max<qint64>(clock()->monotonicMs() - *m_goAtMs, 1);
        setLastMS(ms);
        if (!m_bestMS || ms < *m_bestMS) {
            m_bestMS = ms;
            writeRecord(BestKey, ms);
            emit bestMSChanged();
        }
        setPhase(Phase::result);
        stopPulse();
        break;
    }
    }
}

void ReflexEngine::start()
{
    stop();
    setLastMS(std::nullopt);
    setPhase(Phase::waiting);
    setPulse(0);
    const double delay = MinDelay + closedUnit(random()) * DelaySpan;
    m_waitTask = scheduler()->after(int(std::lround(delay * 1000.0)), [this] { showGo(); });
}

void ReflexEngine::showGo()
{
    m_goAtMs = clock()->monotonicMs();
    setPhase(Phase::go);
    m_pulseStart = clock()->monotonicSeconds();
    m_anim.startAtRate(FrameTimer::Rate60, [this] { pulseTick(); });
}

void ReflexEngine::stopPulse()
{
    m_anim.stop();
    m_pulseStart.reset();
}

void ReflexEngine::pulseTick()
{
    if (!m_pulseStart)
        return;
    setPulse(std::min((clock()->monotonicSeconds() - *m_pulseStart) / PulseSeconds, 1.0));
    // Once full the pulse has nothing left to draw.
    if (m_pulse >= 1.0)
        m_anim.stop();
}

void ReflexEngine::setPhase(Phase p)
{
    if (m_phase == p)
        return;
    m_phase = p;
    emit phaseChanged();
}

void ReflexEngine::setLastMS(std::optional<qint64> ms)
{
    if (m_lastMS == ms)
        return;
    m_lastMS = ms;
    emit lastMSChanged();
}

void ReflexEngine::setPulse(double p)
{
    if (m_pulse == p)
        return;
    m_pulse = p;
    emit pulseChanged();
}

bool ReflexEngine::handleKey(const KeyInput &key)
{
    if (key.keyCode != KeyCode::Space)
        return false;
    // Every tap is timed, starts or starts over: a held key's repeats are
    // none of them.
    if (!key.autoRepeat)
        tap();
    return true;
}
