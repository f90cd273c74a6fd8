#include "services/eyestrainguard.h"

#include "core/clock.h"
#include "platform/idletime.h"

#include <algorithm>
#include <cmath>

EyeStrainGuard::EyeStrainGuard(platform::IIdleTime *idle, Clock *clock, QObject *parent)
    : QObject(parent)
    , m_idle(idle)
    , m_clock(clock)
    , m_lastTick(m_clock->monotonicMs())
{
}

void EyeStrainGuard::reset()
{
    m_activeSeconds = 0.0;
    setWarning(false);
    setTooClose(false);
    setMinutesUntilBreak(20);
    m_lastTick = m_clock->monotonicMs();
}

bool EyeStrainGuard::tick()
{
    const qint64 now = m_clock->monotonicMs();
    const double elapsed = double(now - m_lastTick) / 1000.0;
    m_lastTick = now;

    // Where the system cannot say how long the user has been away, the time
    // counts as active.
    const double idle = m_idle ? m_idle->secondsSinceLastInput().value_or(0.0) : 0.0;
    if (idle < idleLimit)
        m_activeSeconds += std::clamp(elapsed, 0.0, maxTickSeconds);

    setMinutesUntilBreak(int(std::ceil(std::max(interval - m_activeSeconds, 0.0) / 60.0)));

    if (m_activeSeconds >= interval) {
        m_activeSeconds = 0.0;
        setWarning(true);
        setMinutesUntilBreak(20);
        return true;
    }
    return false;
}

void EyeStrainGuard::setTooClose(bool tooClose)
{
    if (m_tooClose == tooClose)
        return;
    m_tooClose = tooClose;
    emit tooCloseChanged();
}

void EyeStrainGuard::setWarning(bool warning)
{
    if (m_warning == warning)
        return;
    m_warning = warning;
    emit warningChanged();
}

void EyeStrainGuard::setMinutesUntilBreak(int minutes)
{
    if (m_minutesUntilBreak == minutes)
        return;
    m_minutesUntilBreak = minutes;
    emit minutesUntilBreakChanged();
}
