#include "qprocessrunner.h"

#include "logging.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>
#include <memory>

QProcessRunner::QProcessRunner(QObject *parent)
    : QObject(parent)
{
}

bool QProcessRunner::isExecutable(const QString &path) const
{
    const QFileInfo info(path);
    return info.isFile() && info.isExecutable();
}

QString QProcessRunner::findExecutable(const QString &name) const
{
    return QStandardPaths::findExecutable(name);
}

void QProcessRunner::run(const QString &program, const QStringList &args, int timeoutMs, Done done)
{
    auto *process = new QProcess(this);
    auto *timer = new QTimer(process);
    auto answered = std::make_shared<bool>(false);
    auto finish = [process, answered, done = std::move(done)](bool ok) {
        if (*answered)
            return;
        *answered = true;
        process->deleteLater();
        done(ok);
    };
    process->setProgram(program);
    process->setArguments(args);
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    process->setStandardInputFile(QProcess::nullDevice());
    connect(process, &QProcess::finished, process, [process, finish](int code, QProcess::ExitStatus status) {
        finish(status == QProcess::NormalExit && code == 0);
    });
    connect(process, &QProcess::errorOccurred, process, [finish](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            finish(false);
    });
    timer->setSingleShot(true);
    connect(timer, &QTimer::timeout, process, [process, program, finish] {
        qCWarning(lcPlatform) << program << "ran too long and was stopped";
        process->kill();
        process->waitForFinished(2000);
        finish(false);
    });
    timer->start(timeoutMs);
    process->start();
}

FileManagerRevealer::FileManagerRevealer(const QDBusConnection &bus, QObject *parent)
    : QObject(parent)
    , m_bus(bus)
{
}

void FileManagerRevealer::reveal(const QString &path)
{
    const QString folder = QFileInfo(path).absolutePath();
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
    call << QStringList{QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString()} << QString();
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [folder](QDBusPendingCallWatcher *w) {
        w->deleteLater();
        if (w->isError())
            QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
    });
}
