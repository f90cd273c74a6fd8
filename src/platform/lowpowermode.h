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
    // False while the mode cannot be read (the service that keeps it is
    // gone); isLowPowerModeEnabled() then says nothing.
    virtual bool isLowPowerModeKnown() const { return true; }

signals:
    // isLowPowerModeEnabled() or isLowPowerModeKnown() changed.
    void powerStateChanged();
};

} // namespace platform
