#pragma once

#include <QMetaObject>
#include <QObject>
#include <functional>

class LowPowerMode;

// Reports Low Power Mode turning on or off.
class PowerModeMonitor : public QObject {
    Q_OBJECT
public:
    explicit PowerModeMonitor(LowPowerMode *source, QObject *parent = nullptr);
    ~PowerModeMonitor() override;

    // Takes the new state; called on the main thread.
    std::function<void(bool)> onChange;

    void start();
    void stop();
    bool isObserving() const { return bool(m_observer); }
    bool isLowPowerModeEnabled() const;

private:
    LowPowerMode *m_source;
    QMetaObject::Connection m_observer;
};
