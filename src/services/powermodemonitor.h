#pragma once

#include <QMetaObject>
#include <QObject>

namespace platform { class ILowPowerMode; }

// Reports Low Power Mode turning on or off.
class PowerModeMonitor : public QObject {
    Q_OBJECT
public:
    explicit PowerModeMonitor(platform::ILowPowerMode *source, QObject *parent = nullptr);
    ~PowerModeMonitor() override;

    void start();
    void stop();
    bool isObserving() const { return bool(m_observer); }
    bool isLowPowerModeEnabled() const;

signals:
    // Low Power Mode's new state, while started.
    void lowPowerModeChanged(bool enabled);

private:
    platform::ILowPowerMode *m_source;
    QMetaObject::Connection m_observer;
};
