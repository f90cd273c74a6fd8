#include "screensaverinhibitor.h"

#include "logging.h"

#include <QDBusMessage>
#include <QDBusPendingCall>

namespace platform {

namespace {

QDBusMessage screenSaverCall(const QString &method)
{
    return QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.ScreenSaver"),
                                          QStringLiteral("/org/freedesktop/ScreenSaver"),
                                          QStringLiteral("org.freedesktop.ScreenSaver"), method);
}

} // namespace

ScreenSaverInhibitor::ScreenSaverInhibitor(const QDBusConnection &bus)
    : m_bus(bus)
{
}

std::optional<quint32> ScreenSaverInhibitor::inhibit(const QString &reason)
{
    if (!m_bus.isConnected())
        return std::nullopt;
    QDBusMessage msg = screenSaverCall(QStringLiteral("Inhibit"));
    msg << QStringLiteral("Pavlet") << reason;
    const QDBusMessage reply = m_bus.call(msg, QDBus::Block, CallTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        qCInfo(lcPlatform) << "screen saver inhibit failed:" << reply.errorMessage();
        return std::nullopt;
    }
    bool ok = false;
    const quint32 cookie = reply.arguments().constFirst().toUInt(&ok);
    if (!ok)
        return std::nullopt;
    return cookie;
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
