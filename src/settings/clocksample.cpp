#include "settings/clocksample.h"

#include "core/clock.h"
#include "store/appsettings.h"

ClockSample::ClockSample(AppSettings *settings, const Clock *clock, Scheduler *scheduler, QObject *parent)
    : QObject(parent), m_settings(settings), m_clock(clock), m_scheduler(scheduler)
{
    connect(m_settings, &AppSettings::notchTimeZoneChanged, this, &ClockSample::update);
    connect(m_settings, &AppSettings::notchUse24HourChanged, this, &ClockSample::update);
    update();
}

void ClockSample::setActive(bool active)
{
    if (active == m_active)
        return;
    m_active = active;
    if (m_active) {
        update();
        scheduleNextMinute();
    } else {
        m_tick.cancel();
    }
    emit activeChanged();
}

void ClockSample::update()
{
    const QDateTime now = m_clock ? m_clock->now() : QDateTime::currentDateTime();
    const QString text = m_settings->formatTime(now, true);
    if (text == m_text)
        return;
    m_text = text;
    emit textChanged();
}

void ClockSample::scheduleNextMinute()
{
    if (!m_scheduler || !m_active)
        return;
    const qint64 nowMs = m_clock ? m_clock->nowMs() : QDateTime::currentMSecsSinceEpoch();
    // A little past the turn of the minute, so the new minute is read.
    const int wait = int(60000 - nowMs % 60000) + 50;
    m_tick = m_scheduler->after(wait, [this] {
        update();
        scheduleNextMinute();
    });
}
