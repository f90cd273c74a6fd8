#include "services/batterymonitor.h"

#include <algorithm>
#include <cmath>

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

namespace {

// The machine's own batteries, not those of a mouse or headset.
bool isSystemBattery(const platform::PowerSource &s)
{
    return s.type == QLatin1String("Battery") && s.scope.compare(QLatin1String("Device"), Qt::CaseInsensitive) != 0;
}

// Percent of the summed amounts now over full, when every battery reports
// both; none otherwise.
std::optional<int> summedPercent(const QList<const platform::PowerSource *> &batteries,
                                 qint64 platform::PowerSource::*nowField, qint64 platform::PowerSource::*fullField)
{
    double now = 0, full = 0;
    for (const platform::PowerSource *b : batteries) {
        if (b->*nowField < 0 || b->*fullField <= 0)
            return std::nullopt;
        now += double(b->*nowField);
        full += double(b->*fullField);
    }
    return int(std::lround(std::clamp(now / full, 0.0, 1.0) * 100.0));
}

} // namespace

std::optional<BatteryInfo> BatteryMonitor::read()
{
    const QList<platform::PowerSource> sources = m_supply->sources();
    QList<const platform::PowerSource *> batteries;
    for (const platform::PowerSource &s : sources) {
        if (isSystemBattery(s))
            batteries.append(&s);
    }
    if (batteries.isEmpty())
        return std::nullopt;

    BatteryInfo info;
    // Several batteries make one supply: what they hold together over what
    // they hold full. Energy when all report it, else charge, else the mean
    // of the percentages each reports.
    const auto reportsPercent = [](const platform::PowerSource *b) { return b->capacity >= 0 && b->capacity <= 100; };
    if (batteries.size() == 1 && reportsPercent(batteries.front()))
        info.percent = batteries.front()->capacity;
    else if (auto p = summedPercent(batteries, &platform::PowerSource::energyNow, &platform::PowerSource::energyFull))
        info.percent = *p;
    else if (auto p = summedPercent(batteries, &platform::PowerSource::chargeNow, &platform::PowerSource::chargeFull))
        info.percent = *p;
    else {
        int sum = 0, count = 0;
        for (const platform::PowerSource *b : batteries) {
            if (reportsPercent(b)) {
                sum += b->capacity;
                ++count;
            }
        }
        info.percent = count ? int(std::lround(double(sum) / count)) : -1;
    }
    info.isCharging = std::any_of(batteries.begin(), batteries.end(), [](const platform::PowerSource *b) {
        return b->status == QLatin1String("Charging");
    });
    return info;
}
