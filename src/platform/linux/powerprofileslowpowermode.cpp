#include "platform/linux/powerprofileslowpowermode.h"

#include <QDBusArgument>
#include <QDBusPendingCallWatcher>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QVariantMap>

namespace platform {

namespace {

struct Daemon {
    const char *service;
    const char *path;
    const char *interface;
};

// Asked in this order.
constexpr Daemon daemons[] = {
    {"org.freedesktop.UPower.PowerProfiles", "/org/freedesktop/UPower/PowerProfiles",
     "org.freedesktop.UPower.PowerProfiles"},
    {"net.hadess.PowerProfiles", "/net/hadess/PowerProfiles", "net.hadess.PowerProfiles"},
};
constexpr int daemonCount = int(std::size(daemons));
constexpr int callTimeoutMs = 2000;

} // namespace

PowerProfilesLowPowerMode::PowerProfilesLowPowerMode(const QDBusConnection &systemBus, QObject *parent)
    : platform::ILowPowerMode(parent)
    , m_bus(systemBus)
{
    if (!m_bus.isConnected()) {
        m_ready = true;
        return;
    }
    QStringList names;
    for (const Daemon &d : daemons) {
        names << QString::fromLatin1(d.service);
        m_bus.connect(QString::fromLatin1(d.service), QString::fromLatin1(d.path),
                      QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("PropertiesChanged"), this,
                      SLOT(onPropertiesChanged(QDBusMessage)));
    }
    auto *watcher = new QDBusServiceWatcher(this);
    watcher->setConnection(m_bus);
    watcher->setWatchedServices(names);
    watcher->setWatchMode(QDBusServiceWatcher::WatchForOwnerChange);
    connect(watcher, &QDBusServiceWatcher::serviceOwnerChanged, this, &PowerProfilesLowPowerMode::refresh);
    refresh();
}

void PowerProfilesLowPowerMode::refresh()
{
    ask(0, ++m_serial);
}

void PowerProfilesLowPowerMode::ask(int candidate, quint64 serial)
{
    if (candidate >= daemonCount) {
        setProfile(QString());
        return;
    }
    const Daemon &d = daemons[candidate];
    QDBusMessage call = QDBusMessage::createMethodCall(QString::fromLatin1(d.service), QString::fromLatin1(d.path),
                                                       QStringLiteral("org.freedesktop.DBus.Properties"),
                                                       QStringLiteral("Get"));
    call << QString::fromLatin1(d.interface) << QStringLiteral("ActiveProfile");
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call, callTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, candidate, serial] {
        watcher->deleteLater();
        // A newer question is under way.
        if (serial != m_serial)
            return;
        const QDBusMessage reply = watcher->reply();
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
            ask(candidate + 1, serial);
            return;
        }
        setProfile(reply.arguments().first().value<QDBusVariant>().variant().toString());
    });
}

void PowerProfilesLowPowerMode::onPropertiesChanged(const QDBusMessage &message)
{
    // Which daemon answers is settled by asking again in order.
    if (message.arguments().size() >= 2) {
        const QVariantMap changed = qdbus_cast<QVariantMap>(message.arguments().at(1));
        if (!changed.contains(QStringLiteral("ActiveProfile")))
            return;
    }
    refresh();
}

void PowerProfilesLowPowerMode::setProfile(const QString &profile)
{
    const bool wasLow = isLowPowerModeEnabled();
    const bool wasKnown = isLowPowerModeKnown();
    m_profile = profile;
    if (!m_ready) {
        m_ready = true;
        emit readyChanged();
        // The state found at start is no change.
        return;
    }
    if (isLowPowerModeEnabled() != wasLow || isLowPowerModeKnown() != wasKnown)
        emit powerStateChanged();
}

} // namespace platform
