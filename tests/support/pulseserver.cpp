#include "support/pulseserver.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QStandardPaths>
#include <QThread>
#include <csignal>
#include <sys/prctl.h>

PulseServer::PulseServer() = default;

PulseServer::~PulseServer()
{
    stop();
}

bool PulseServer::isInstalled()
{
    return !QStandardPaths::findExecutable(QStringLiteral("pulseaudio")).isEmpty()
        && !QStandardPaths::findExecutable(QStringLiteral("pactl")).isEmpty();
}

QString PulseServer::address() const
{
    return QStringLiteral("unix:") + m_dir.filePath(QStringLiteral("native"));
}

bool PulseServer::start()
{
    if (!m_dir.isValid() || !isInstalled())
        return false;
    const QString home = m_dir.filePath(QStringLiteral("home"));
    const QString runtime = m_dir.filePath(QStringLiteral("runtime"));
    QDir().mkpath(home);
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
    // Keep it off every bus and display: nothing it could spawn may outlive it.
    env.remove(QStringLiteral("DISPLAY"));
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QStringLiteral("unix:path=") + m_dir.filePath("nobus"));
    env.insert(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"), QStringLiteral("unix:path=") + m_dir.filePath("nobus"));
    m_server.setProcessEnvironment(env);
    m_server.setWorkingDirectory(m_dir.path());
    m_server.setProcessChannelMode(QProcess::MergedChannels);
    // The server ends with the test, even one that crashed.
    m_server.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
    m_server.start(QStringLiteral("pulseaudio"),
                   {QStringLiteral("-n"), QStringLiteral("--daemonize=no"), QStringLiteral("--exit-idle-time=-1"),
                    QStringLiteral("--use-pid-file=no"), QStringLiteral("--disable-shm=yes"),
                    QStringLiteral("--load=module-null-sink sink_name=null"),
                    QStringLiteral("--load=module-native-protocol-unix auth-anonymous=1 socket=")
                        + m_dir.filePath(QStringLiteral("native"))});
    if (!m_server.waitForStarted(5000))
        return false;
    // libpulse clients in this process would otherwise create a cookie file
    // in the real home folder.
    qputenv("PULSE_COOKIE", m_dir.filePath(QStringLiteral("cookie")).toLocal8Bit());
    QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired()) {
        if (m_server.state() == QProcess::NotRunning)
            break;
        if (!pactl({QStringLiteral("info")}).isNull())
            return true;
        QThread::msleep(50);
    }
    m_log += QString::fromUtf8(m_server.readAll());
    return false;
}

void PulseServer::stop()
{
    if (m_server.state() == QProcess::NotRunning)
        return;
    m_server.terminate();
    if (!m_server.waitForFinished(3000)) {
        m_server.kill();
        m_server.waitForFinished(1000);
    }
    m_log += QString::fromUtf8(m_server.readAll());
}

void PulseServer::kill()
{
    if (m_server.state() == QProcess::NotRunning)
        return;
    m_server.kill();
    m_server.waitForFinished(3000);
    m_log += QString::fromUtf8(m_server.readAll());
}

QString PulseServer::pactl(const QStringList &args) const
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("PULSE_SERVER"), address());
    env.insert(QStringLiteral("HOME"), m_dir.filePath(QStringLiteral("home")));
    env.insert(QStringLiteral("PULSE_COOKIE"), m_dir.filePath(QStringLiteral("cookie")));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral("pactl"), args);
    if (!p.waitForFinished(5000)) {
        p.kill();
        p.waitForFinished(1000);
        return QString();
    }
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return QString();
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    return out.isNull() ? QStringLiteral("") : out;
}
