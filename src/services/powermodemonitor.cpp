#include "services/powermodemonitor.h"

#include "platform/lowpowermode.h"

PowerModeMonitor::PowerModeMonitor(platform::ILowPowerMode *source, QObject *parent)
    : QObject(parent)
    , m_source(source)
{
}

PowerModeMonitor::~PowerModeMonitor()
{
    stop();
}

void PowerModeMonitor::start()
{
    // One observer at a time: a second start must not report twice.
    stop();
    m_observer = connect(m_source, &platform::ILowPowerMode::powerStateChanged, this, [this] {
        emit lowPowerModeChanged(m_source->isLowPowerModeEnabled());
    });
}

void PowerModeMonitor::stop()
{
    if (m_observer) {
        disconnect(m_observer);
        m_observer = {};
    }
}

bool PowerModeMonitor::isLowPowerModeEnabled() const
{
    return m_source->isLowPowerModeEnabled();
}
