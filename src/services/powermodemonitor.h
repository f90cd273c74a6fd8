#pragma once

#include <QMetaObject>
#include <QObject>

namespace platform { class ILowPowerMode; }

// Reports Low Power Mode turning on or off. While the system cannot say
// (its power service is gone), the mode last known stands: neither the loss
// nor a return in the same mode is a change.
class PowerModeMonitor : public QObject {
    Q_OBJECT
public:
    explicit PowerModeMonitor(platform::ILowPowerMode *source, QObject *parent = nullptr);
    ~PowerModeMonitor() override;

    void start();
    void stop();
    bool isObserving() const { return m_observing; }
    // The mode now, or the one last known while it cannot be read.
    bool isLowPowerModeEnabled() const;

signals:
    // Low Power Mode's new state, while started.
    void lowPowerModeChanged(bool enabled);

private:
    void sourceChanged();

    platform::ILowPowerMode *m_source;
    mutable bool m_lastKnown = false;
    bool m_observing = false;
};
