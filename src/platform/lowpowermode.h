#pragma once

#include <QObject>

// The system's low-power (battery saver) mode.
class LowPowerMode : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    // False when the system has no such mode.
    virtual bool isLowPowerModeEnabled() const = 0;

signals:
    void powerStateChanged();
};
