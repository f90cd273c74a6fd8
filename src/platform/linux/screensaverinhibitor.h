#pragma once

#include "displaysleep.h"

#include <QDBusConnection>

namespace platform {

// org.freedesktop.ScreenSaver Inhibit/UnInhibit on the session bus. The
// desktop also ends an inhibition when this program leaves the bus.
class ScreenSaverInhibitor final : public IDisplaySleepInhibitor {
public:
    static constexpr int CallTimeoutMs = 800;

    explicit ScreenSaverInhibitor(const QDBusConnection &bus = QDBusConnection::sessionBus());
    std::optional<quint32> inhibit(const QString &reason) override;
    void release(quint32 cookie) override;

private:
    QDBusConnection m_bus;
};

} // namespace platform
