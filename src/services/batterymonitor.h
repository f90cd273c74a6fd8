#pragma once

#include "powersupply.h"

#include <QObject>
#include <QtQml/qqmlregistration.h>
#include <memory>
#include <optional>

// The machine's own battery.
struct BatteryInfo {
    Q_GADGET
    QML_VALUE_TYPE(batteryInfo)
    Q_PROPERTY(int percent MEMBER percent)
    Q_PROPERTY(bool isCharging MEMBER isCharging)
public:
    int percent = 0;
    bool isCharging = false;

    bool operator==(const BatteryInfo &) const = default;
};

class BatteryMonitor {
public:
    explicit BatteryMonitor(platform::IPowerSupply *supply);
    ~BatteryMonitor();

    // None on a machine without a battery of its own.
    std::optional<BatteryInfo> read();

private:
    platform::IPowerSupply *m_supply;
};
