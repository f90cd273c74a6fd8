#pragma once

#include <QObject>
#include <QString>
#include <optional>

namespace platform {

// The default audio output device: its volume and mute state, with notices
// when they change.
class IAudioOutput : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // The default output device's id; empty when there is none.
    virtual QString defaultDevice() const = 0;
    // The default device's volume (1.0 = full, may exceed 1 on some
    // systems); nullopt when there is no device or it cannot be read.
    virtual std::optional<double> volume() const = 0;
    virtual std::optional<bool> muted() const = 0;
    // Writes to the default device; false when there is none. The new value
    // reads back at once.
    virtual bool setVolume(double value) = 0;
    virtual bool setMuted(bool muted) = 0;

signals:
    // Another device became the default output (or the last one went away).
    void defaultDeviceChanged();
    // The volume or the mute state of device changed.
    void volumeChanged(const QString &device);
};

} // namespace platform
