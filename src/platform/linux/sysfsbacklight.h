#pragma once

#include "platform/backlight.h"

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <optional>

namespace platform {

// Display brightness from /sys/class/backlight.
//
// Reads brightness / max_brightness of the preferred device (firmware, then
// platform, then raw interfaces). Writes go through logind's
// Session.SetBrightness on the caller's session, which needs no privileges;
// when logind refuses or is absent the file is written directly if that is
// allowed. No device means no reading.
class SysfsBacklight final : public QObject, public platform::IBacklight {
    Q_OBJECT
public:
    static constexpr const char *defaultRoot = "/sys/class/backlight";

    explicit SysfsBacklight(const QDBusConnection &systemBus, const QString &root = QString::fromLatin1(defaultRoot),
                            QObject *parent = nullptr);

    std::optional<double> brightness() const override;
    bool setBrightness(double value) override;

    // The device in use ("intel_backlight"); empty when there is none.
    QString device() const;
    bool isWriting() const { return m_pending.has_value(); }

signals:
    // A write has finished, through logind or directly.
    void written(bool ok);

private:
    struct Device {
        QString name;
        qint64 max = 0;
    };
    std::optional<Device> findDevice() const;
    bool writeDirectly(const QString &device, qint64 raw);

    QDBusConnection m_bus;
    QString m_root;
    mutable std::optional<Device> m_device;
    // The value being written while logind works on it.
    std::optional<double> m_pending;
    quint64 m_writeSerial = 0;
};

} // namespace platform
