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

ScreenSaverInhibitor::ScreenSaverInhibitor(const QDBusConnection &session, std::optional<QDBusConnection> system,
                                           QObject *parent)
    : QObject(parent)
    , m_session(session)
    , m_system(std::move(system))
{
}

void ScreenSaverInhibitor::inhibit(const QString &reason, InhibitCallback done)
{
    if (!m_session.isConnected()) {
        inhibitThroughLogind(reason, std::move(done));
        return;
    }
    QDBusMessage msg = screenSaverCall(QStringLiteral("Inhibit"));
    msg << QStringLiteral("Pavlet") << reason;
    auto *watcher = new QDBusPendingCallWatcher(m_session.asyncCall(msg, CallTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, reason, done = std::move(done)](QDBusPendingCallWatcher *w) mutable {
                w->deleteLater();
                const QDBusMessage reply = w->reply();
                bool ok = false;
                const quint32 cookie = reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()
                    ? reply.arguments().constFirst().toUInt(&ok)
                    : 0;
                if (ok) {
                    done(cookie);
                    return;
                }
                qCInfo(lcPlatform) << "screen saver inhibit failed:" << reply.errorMessage();
                inhibitThroughLogind(reason, std::move(done));
            });
}

void ScreenSaverInhibitor::inhibitThroughLogind(const QString &reason, InhibitCallback done)
{
    if (!m_system || !m_system->isConnected()) {
        done(std::nullopt);
        return;
    }
    QDBusMessage msg = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("Inhibit"));
    msg << QStringLiteral("idle") << QStringLiteral("Pavlet") << reason << QStringLiteral("block");
    auto *watcher = new QDBusPendingCallWatcher(m_system->asyncCall(msg, CallTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, done = std::move(done)](QDBusPendingCallWatcher *w) {
                w->deleteLater();
                const QDBusMessage reply = w->reply();
                const auto fd = reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()
                    ? reply.arguments().constFirst().value<QDBusUnixFileDescriptor>()
                    : QDBusUnixFileDescriptor();
                if (!fd.isValid()) {
                    qCInfo(lcPlatform) << "logind idle inhibit failed:" << reply.errorMessage();
                    done(std::nullopt);
                    return;
                }
                while (m_locks.contains(m_nextLock))
                    --m_nextLock;
                const quint32 cookie = m_nextLock--;
                m_locks.insert(cookie, fd);
                done(cookie);
            });
}

void ScreenSaverInhibitor::release(quint32 cookie)
{
    // A lock of logind's ends when its descriptor closes.
    if (m_locks.remove(cookie))
        return;
    if (!m_session.isConnected())
        return;
    QDBusMessage msg = screenSaverCall(QStringLiteral("UnInhibit"));
    msg << cookie;
    // Nothing waits for the answer: a failed release still counts as off.
    m_session.asyncCall(msg, CallTimeoutMs);
}

} // namespace platform
