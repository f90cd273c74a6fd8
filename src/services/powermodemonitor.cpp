#include "services/powermodemonitor.h"

#include "platform/lowpowermode.h"

PowerModeMonitor::PowerModeMonitor(platform::ILowPowerMode *source, QObject *parent)
    : QObject(parent)
    , m_source(source)
{
    isLowPowerModeEnabled();
    connect(m_source, &platform::ILowPowerMode::powerStateChanged, this, &PowerModeMonitor::sourceChanged);
}

PowerModeMonitor::~PowerModeMonitor()
{
    stop();
}

void PowerModeMonitor::start()
{
    m_observing = true;
}

void PowerModeMonitor::stop()
{
    m_observing = false;
}

void PowerModeMonitor::sourceChanged()
{
    const bool before = m_lastKnown;
    if (isLowPowerModeEnabled() != before && m_observing)
        emit lowPowerModeChanged(m_lastKnown);
}

bool PowerModeMonitor::isLowPowerModeEnabled() const
{
    if (m_source->isLowPowerModeKnown())
        m_lastKnown = m_source->isLowPowerModeEnabled();
    return m_lastKnown;
}
