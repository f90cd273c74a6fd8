#include "support/privatebus.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDeadlineTimer>
#include <QThread>
#include <QUuid>

PrivateBus::PrivateBus()
{
    m_daemon.setProgram(QStringLiteral("dbus-daemon"));
    m_daemon.setArguments({QStringLiteral("--session"), QStringLiteral("--nofork"),
                           QStringLiteral("--print-address=1")});
    m_daemon.start();
    if (!m_daemon.waitForStarted(5000))
        return;
    QDeadlineTimer deadline(5000);
    while (!m_daemon.canReadLine() && !deadline.hasExpired())
        m_daemon.waitForReadyRead(100);
    m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
}

PrivateBus::~PrivateBus()
{
    if (!m_connectionName.isEmpty())
        QDBusConnection::disconnectFromBus(m_connectionName);
    for (auto &mock : m_mocks) {
        mock->terminate();
        if (!mock->waitForFinished(3000)) {
            mock->kill();
            mock->waitForFinished(1000);
        }
    }
    if (m_daemon.state() != QProcess::NotRunning) {
        m_daemon.terminate();
        if (!m_daemon.waitForFinished(3000)) {
            m_daemon.kill();
            m_daemon.waitForFinished(1000);
        }
    }
}

QDBusConnection PrivateBus::connection(const QString &name)
{
    if (m_connectionName.isEmpty())
        m_connectionName = name + QLatin1Char('-') + QUuid::createUuid().toString(QUuid::Id128);
    return QDBusConnection::connectToBus(m_address, m_connectionName);
}

bool PrivateBus::startMock(const QStringList &args, const QString &busName, int timeoutMs)
{
    if (!isRunning())
        return false;
    auto proc = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_address);
    env.insert(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"), m_address);
    proc->setProcessEnvironment(env);
    proc->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    proc->setStandardOutputFile(QProcess::nullDevice());
    // Debian's own interpreter: the python3 first on PATH may lack dbusmock.
    proc->start(QStringLiteral("/usr/bin/python3"), QStringList{"-m", "dbusmock"} + args);
    if (!proc->waitForStarted(5000))
        return false;
    QDBusConnection bus = connection();
    QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        if (bus.interface() && bus.interface()->isServiceRegistered(busName))
            break;
        if (proc->state() == QProcess::NotRunning)
            return false;
        QThread::msleep(50);
    }
    const bool ok = bus.interface() && bus.interface()->isServiceRegistered(busName);
    m_mocks.push_back(std::move(proc));
    return ok;
}

void PrivateBus::killMocks()
{
    for (auto &mock : m_mocks) {
        mock->kill();
        mock->waitForFinished(3000);
    }
    m_mocks.clear();
}

bool PrivateBus::startTemplate(const QString &templ, const QString &busName, const QString &parameters)
{
    QStringList args{QStringLiteral("-t"), templ};
    if (!parameters.isEmpty())
        args << QStringLiteral("-p") << parameters;
    return startMock(args, busName);
}

QDBusMessage PrivateBus::call(const QString &service, const QString &path, const QString &interface,
                              const QString &method, const QVariantList &args)
{
    QDBusMessage msg = QDBusMessage::createMethodCall(service, path, interface, method);
    msg.setArguments(args);
    return connection().call(msg, QDBus::Block, 5000);
}

QList<QPair<QString, QVariantList>> PrivateBus::mockCalls(const QString &service, const QString &path)
{
    QList<QPair<QString, QVariantList>> out;
    const QDBusMessage reply = call(service, path, QStringLiteral("org.freedesktop.DBus.Mock"), QStringLiteral("GetCalls"));
    if (reply.type() != QDBusMessage::ReplyMessage)
        return out;
    const QDBusArgument arg = reply.arguments().value(0).value<QDBusArgument>();
    arg.beginArray();
    while (!arg.atEnd()) {
        quint64 stamp = 0;
        QString method;
        QVariantList args;
        arg.beginStructure();
        arg >> stamp >> method >> args;
        arg.endStructure();
        out.append({method, args});
    }
    arg.endArray();
    return out;
}

QList<QVariantList> PrivateBus::mockCalls(const QString &service, const QString &path, const QString &method)
{
    QList<QVariantList> out;
    for (const auto &[name, args] : mockCalls(service, path)) {
        if (name == method)
            out << args;
    }
    return out;
}
