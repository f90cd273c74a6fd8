#pragma once

#include "platform/lowpowermode.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QString>

class QDBusServiceWatcher;

namespace platform {

// Low Power Mode from power-profiles-daemon on the system bus: the
// "power-saver" profile is Low Power Mode. Newer daemons answer as
// org.freedesktop.UPower.PowerProfiles, older ones (Debian 12) as
// net.hadess.PowerProfiles; the newer name is asked first. Without a daemon
// the system is not in Low Power Mode, and the mode is not known.
class PowerProfilesLowPowerMode final : public platform::ILowPowerMode {
    Q_OBJECT
public:
    explicit PowerProfilesLowPowerMode(const QDBusConnection &systemBus, QObject *parent = nullptr);

    bool isLowPowerModeEnabled() const override { return m_profile == QLatin1String("power-saver"); }
    bool isLowPowerModeKnown() const override { return !m_profile.isEmpty(); }
    // The daemon's active profile; empty without a daemon.
    QString activeProfile() const { return m_profile; }
    // Whether the first answer (or the lack of one) is in.
    bool isReady() const { return m_ready; }

signals:
    void readyChanged();

private slots:
    void onPropertiesChanged(const QDBusMessage &message);

private:
    void refresh();
    void ask(int candidate, quint64 serial);
    void setProfile(const QString &profile);

    QDBusConnection m_bus;
    QString m_profile;
    bool m_ready = false;
    quint64 m_serial = 0;
};

} // namespace platform
