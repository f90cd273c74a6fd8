#pragma once

#include "platform/displaysleep.h"

#include <QDBusConnection>
#include <QObject>

namespace platform {

// org.freedesktop.ScreenSaver Inhibit/UnInhibit on the session bus. The
// desktop also ends an inhibition when this program leaves the bus.
class ScreenSaverInhibitor final : public QObject, public IDisplaySleepInhibitor {
    Q_OBJECT
public:
    static constexpr int CallTimeoutMs = 800;

    explicit ScreenSaverInhibitor(const QDBusConnection &bus = QDBusConnection::sessionBus(),
                                  QObject *parent = nullptr);
    void inhibit(const QString &reason, InhibitCallback done) override;
    void release(quint32 cookie) override;

private:
    QDBusConnection m_bus;
};

} // namespace platform
