#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QPair>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <memory>
#include <vector>

// A dbus-daemon of the test's own, standing in for the session or the system
// bus, with python3-dbusmock services on it. Everything it started is killed
// when it goes away.
class PrivateBus {
public:
    PrivateBus();
    ~PrivateBus();
    PrivateBus(const PrivateBus &) = delete;
    PrivateBus &operator=(const PrivateBus &) = delete;

    bool isRunning() const { return !m_address.isEmpty(); }
    QString address() const { return m_address; }
    // A connection to this bus, opened once per name.
    QDBusConnection connection(const QString &name = QStringLiteral("pavlet-test"));

    // Starts `python3 -m dbusmock <args>` on this bus (as both its session and
    // its system bus) and waits until busName is owned. Returns false on
    // failure (dbusmock missing, time-out).
    bool startMock(const QStringList &args, const QString &busName, int timeoutMs = 10000);
    // Kills (SIGKILL, as a crash would end them) every mock started so far
    // and waits until each has ended.
    void killMocks();
    // Convenience for the templates: `-t template [-p parameters]`.
    bool startTemplate(const QString &templ, const QString &busName, const QString &parameters = QString());

    // A blocking call for driving mocks from tests.
    QDBusMessage call(const QString &service, const QString &path, const QString &interface,
                      const QString &method, const QVariantList &args = {});

    // The calls a dbusmock object has seen, in order: each method's name with
    // its arguments; empty when it has seen none or cannot be asked.
    QList<QPair<QString, QVariantList>> mockCalls(const QString &service, const QString &path);
    // The arguments of each call of method among them.
    QList<QVariantList> mockCalls(const QString &service, const QString &path, const QString &method);

private:
    QProcess m_daemon;
    QString m_address;
    QString m_connectionName;
    std::vector<std::unique_ptr<QProcess>> m_mocks;
};
