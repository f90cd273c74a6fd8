#include "qprocessrunner.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <memory>

namespace platform {

void QProcessRunner::run(const QString &program, const QStringList &arguments,
                         std::function<void(const ProcessResult &)> done)
{
    auto *process = new QProcess(this);
    process->setProcessChannelMode(QProcess::MergedChannels);
    auto callback = std::make_shared<std::function<void(const ProcessResult &)>>(std::move(done));
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
