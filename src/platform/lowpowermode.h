#pragma once

#include <QObject>

namespace platform {

// The system's low-power (battery saver) mode.
class ILowPowerMode : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    // False when the system has no such mode.
    virtual bool isLowPowerModeEnabled() const = 0;

signals:
    void powerStateChanged();
};

} // namespace platform
