#pragma once

#include "platform/displaysleepinhibitor.h"

#include <QDBusConnection>
#include <QDBusUnixFileDescriptor>
#include <QHash>
#include <QObject>
#include <optional>

namespace platform {

// org.freedesktop.ScreenSaver Inhibit/UnInhibit on the session bus; where
// no desktop offers that (a plain window manager), an "idle" block lock
// from logind's Inhibit on the system bus, held as the file descriptor it
// returns. Either ends when this program leaves the bus or exits.
class ScreenSaverInhibitor final : public QObject, public IDisplaySleepInhibitor {
    Q_OBJECT
public:
    static constexpr int CallTimeoutMs = 800;

    // system: where logind is asked; none asks the screen saver alone.
    explicit ScreenSaverInhibitor(const QDBusConnection &session = QDBusConnection::sessionBus(),
                                  std::optional<QDBusConnection> system = std::nullopt, QObject *parent = nullptr);
    void inhibit(const QString &reason, InhibitCallback done) override;
    void release(quint32 cookie) override;

private:
    void inhibitThroughLogind(const QString &reason, InhibitCallback done);

    QDBusConnection m_session;
    std::optional<QDBusConnection> m_system;
    // logind's locks by the cookies handed out for them; dropping the
    // descriptor ends the lock.
    QHash<quint32, QDBusUnixFileDescriptor> m_locks;
    quint32 m_nextLock = 0xffffffffu;
};

} // namespace platform
