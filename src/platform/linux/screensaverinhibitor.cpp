#include "platform/linux/screensaverinhibitor.h"

#include "core/logging.h"

#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusPendingCallWatcher>

namespace platform {

namespace {

QDBusMessage screenSaverCall(const QString &method)
{
    return QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.ScreenSaver"),
                                          QStringLiteral("/org/freedesktop/ScreenSaver"),
                                          QStringLiteral("org.freedesktop.ScreenSaver"), method);
}

} // namespace

ScreenSaverInhibitor::ScreenSaverInhibitor(const QDBusConnection &bus, QObject *parent)
    : QObject(parent)
    , m_bus(bus)
{
}

void ScreenSaverInhibitor::inhibit(const QString &reason, InhibitCallback done)
{
    if (!m_bus.isConnected()) {
        done(std::nullopt);
        return;
    }
    QDBusMessage msg = screenSaverCall(QStringLiteral("Inhibit"));
    msg << QStringLiteral("Pavlet") << reason;
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(msg, CallTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [done = std::move(done)](QDBusPendingCallWatcher *w) {
        w->deleteLater();
        const QDBusMessage reply = w->reply();
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
            qCInfo(lcPlatform) << "screen saver inhibit failed:" << reply.errorMessage();
            done(std::nullopt);
            return;
        }
        bool ok = false;
        const quint32 cookie = reply.arguments().constFirst().toUInt(&ok);
        done(ok ? std::optional(cookie) : std::nullopt);
    });
}

void ScreenSaverInhibitor::release(quint32 cookie)
{
    if (!m_bus.isConnected())
        return;
    QDBusMessage msg = screenSaverCall(QStringLiteral("UnInhibit"));
    msg << cookie;
    // Nothing waits for the answer: a failed release still counts as off.
    m_bus.asyncCall(msg, CallTimeoutMs);
}

} // namespace platform
