#pragma once

#include "platform/powersupply.h"

#include <QObject>
#include <QtQml/qqmlregistration.h>
#include <optional>

// The machine's own battery.
struct BatteryInfo {
    Q_GADGET
    QML_VALUE_TYPE(batteryInfo)
    Q_PROPERTY(int percent MEMBER percent)
    Q_PROPERTY(bool isCharging MEMBER isCharging)
public:
    // -1 when no battery says how full it is.
    int percent = 0;
    bool isCharging = false;

    bool operator==(const BatteryInfo &) const = default;
};

// The battery reading, published: refresh() reads the power supply and
// updates the properties when the reading changed.
class BatteryMonitor : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool hasBattery READ hasBattery NOTIFY batteryChanged)
    Q_PROPERTY(BatteryInfo battery READ battery NOTIFY batteryChanged)
public:
    explicit BatteryMonitor(platform::IPowerSupply *supply, QObject *parent = nullptr);
    ~BatteryMonitor() override;

    // None on a machine without a battery of its own.
    std::optional<BatteryInfo> read();
    // Reads the battery and publishes the reading.
    void refresh();

    std::optional<BatteryInfo> current() const { return m_current; }
    bool hasBattery() const { return m_current.has_value(); }
    BatteryInfo battery() const { return m_current.value_or(BatteryInfo()); }

signals:
    void batteryChanged();

private:
    platform::IPowerSupply *m_supply;
    std::optional<BatteryInfo> m_current;
};
