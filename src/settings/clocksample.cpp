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
        startTicking();
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

void ClockSample::startTicking()
{
    if (!m_scheduler || !m_active)
        return;
    // Read each second rather than waiting for the next minute: the system
    // time may be set back or forward meanwhile, and the sample follows it
    // at once. The text changes only when its minute does.
    m_tick = m_scheduler->every(1000, [this] { update(); });
}
