#pragma once

#include <QList>
#include <QString>
#include <memory>

namespace platform {

// One power source as the system lists it.
struct PowerSource {
    QString name;
    // "Battery", "Mains", "USB", ...
    QString type;
    // "System" for the machine's own supply, "Device" for a peripheral's
    // (a mouse or headset battery); empty when the system does not say.
    QString scope;
    // Percent, or -1 when the source does not report it.
    int capacity = -1;
    // "Charging", "Discharging", "Full", "Not charging", ...
    QString status;
    // Stored energy now and when full (µWh), or -1 when not reported.
    qint64 energyNow = -1;
    qint64 energyFull = -1;
    // The same as charge (µAh), for batteries that report that instead.
    qint64 chargeNow = -1;
    qint64 chargeFull = -1;

    bool operator==(const PowerSource &) const = default;
};

class IPowerSupply {
public:
    virtual ~IPowerSupply() = default;
    // Every power source, in the system's order. Empty when none can be read.
    virtual QList<PowerSource> sources() = 0;
};

} // namespace platform
