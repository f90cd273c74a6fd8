#pragma once

#include "platform/audiooutput.h"

#include <QMap>

// Output devices in memory. Like a real system, a write to the default
// device also comes back as a change notice.
class FakeAudioOutput final : public platform::IAudioOutput {
public:
    struct Device {
        double volume = 0.5;
        bool muted = false;
    };

    FakeAudioOutput() { devices.insert("speakers", {}); }

    QMap<QString, Device> devices;
    QString current = "speakers";
    int volumeWrites = 0;
    int muteWrites = 0;

    QString defaultDevice() const override { return devices.contains(current) ? current : QString(); }
    std::optional<double> volume() const override
    {
        if (!devices.contains(current))
            return std::nullopt;
        return devices[current].volume;
    }
    std::optional<bool> muted() const override
    {
        if (!devices.contains(current))
            return std::nullopt;
        return devices[current].muted;
    }
    bool setVolume(double value) override
    {
        ++volumeWrites;
        if (!devices.contains(current))
            return false;
        devices[current].volume = value;
        emit volumeChanged(current);
        return true;
    }
    bool setMuted(bool muted) override
    {
        ++muteWrites;
        if (!devices.contains(current))
            return false;
        devices[current].muted = muted;
        emit volumeChanged(current);
        return true;
    }

    // A change made elsewhere.
    void changeElsewhere(const QString &device, double volume, bool muted)
    {
        devices[device] = {volume, muted};
        emit volumeChanged(device);
    }
    void switchTo(const QString &device)
    {
        current = device;
        emit defaultDeviceChanged();
    }
};
