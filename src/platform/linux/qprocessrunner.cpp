#include "platform/linux/qprocessrunner.h"

#include "core/logging.h"
#include "platform/linux/helperprocess.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <memory>

namespace platform {

void QProcessRunner::run(const QString &program, const QStringList &arguments, int timeoutMs,
                         std::function<void(const ProcessResult &)> done)
{
    auto *process = new QProcess(this);
    endWithThisProgram(process);
    process->setProcessChannelMode(QProcess::MergedChannels);
    process->setStandardInputFile(QProcess::nullDevice());
    auto callback = std::make_shared<std::function<void(const ProcessResult &)>>(std::move(done));
    if (timeoutMs > 0) {
        auto *limit = new QTimer(process);
        limit->setSingleShot(true);
        connect(limit, &QTimer::timeout, this, [process, callback, program] {
            if (!*callback)
                return;
            qCWarning(lcPlatform) << program << "ran too long and was stopped";
            const auto report = std::exchange(*callback, nullptr);
            process->kill();
            process->waitForFinished(2000);
            report({-1, QString::fromUtf8(process->readAll())});
            process->deleteLater();
        });
        limit->start(timeoutMs);
    }
    connect(process, &QProcess::errorOccurred, this, [process, callback](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart || !*callback)
            return;
        const auto report = std::exchange(*callback, nullptr);
        report({1, process->errorString()});
        process->deleteLater();
    });
    connect(process, &QProcess::finished, this, [process, callback](int code, QProcess::ExitStatus exitStatus) {
        if (!*callback)
            return;
        const auto report = std::exchange(*callback, nullptr);
        // A program killed by a signal did not succeed, whatever its code.
        const int status = exitStatus == QProcess::CrashExit ? std::max(code, 1) : code;
        report({status, QString::fromUtf8(process->readAll())});
        process->deleteLater();
    });
    process->start(program, arguments);
}

QStringList PathToolLocator::defaultFolders()
{
    return {QStringLiteral("/opt/homebrew/bin/"), QStringLiteral("/usr/local/bin/"), QStringLiteral("/usr/bin/")};
}

PathToolLocator::PathToolLocator(QStringList folders, QStringList searchPath)
    : m_folders(std::move(folders)), m_searchPath(std::move(searchPath))
{
}

QString PathToolLocator::find(const QString &name)
{
    for (const QString &folder : m_folders) {
        const QFileInfo info(QDir(folder).filePath(name));
        if (info.isFile() && info.isExecutable())
            return info.absoluteFilePath();
    }
    return QStandardPaths::findExecutable(name, m_searchPath);
}

} // namespace platform
