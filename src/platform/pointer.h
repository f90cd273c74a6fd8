#pragma once

#include <QObject>
#include <QPointF>

namespace platform {

// Where the pointer is, in window-system coordinates (y downwards).
class IPointerLocation {
public:
    virtual ~IPointerLocation() = default;
    virtual QPointF position() const = 0;
};

// Mouse-button presses anywhere on the desktop, also those that go to other
// programs. Each press has a number that the window system gives it (the
// same press seen through another route carries the same number).
class IGlobalClickMonitor : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~IGlobalClickMonitor() override = default;

    // False when the system cannot report clicks.
    virtual bool start() = 0;
    virtual void stop() = 0;

signals:
    // A left-button press; position in window-system coordinates.
    void clicked(qint64 eventNumber, const QPointF &position);
};

} // namespace platform
