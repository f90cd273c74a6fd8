#include "batterymonitor.h"

#include <algorithm>

BatteryMonitor::BatteryMonitor(platform::IPowerSupply *supply, QObject *parent)
    : QObject(parent)
    , m_supply(supply)
{
}

BatteryMonitor::~BatteryMonitor() = default;

void BatteryMonitor::refresh()
{
    const std::optional<BatteryInfo> reading = read();
    if (reading == m_current)
        return;
    m_current = reading;
    emit batteryChanged();
}

std::optional<BatteryInfo> BatteryMonitor::read()
{
    const QList<platform::PowerSource> sources = m_supply->sources();
    // The machine's own battery, not one of a mouse or headset.
    const auto it = std::find_if(sources.begin(), sources.end(), [](const platform::PowerSource &s) {
        return s.type == QLatin1String("Battery") && s.scope.compare(QLatin1String("Device"), Qt::CaseInsensitive) != 0;
    });
    if (it == sources.end())
        return std::nullopt;
    BatteryInfo info;
    info.percent = it->capacity >= 0 ? it->capacity : 0;
    info.isCharging = it->status == QLatin1String("Charging");
    return info;
}
