#pragma once

#include "processrunner.h"

#include <QObject>

namespace platform {

// Runs programs through QProcess with standard output and standard error
// merged; QProcess drains the pipe while the program runs.
class QProcessRunner final : public QObject, public IProcessRunner {
    Q_OBJECT
public:
    using QObject::QObject;
    void run(const QString &program, const QStringList &arguments,
             std::function<void(const ProcessResult &)> done) override;
};

// Looks for a tool in a few fixed folders, then on PATH.
class PathToolLocator final : public IToolLocator {
public:
    static QStringList defaultFolders();
    explicit PathToolLocator(QStringList folders = defaultFolders(), QStringList searchPath = {});
    QString find(const QString &name) override;

private:
    QStringList m_folders;
    QStringList m_searchPath;
};

} // namespace platform
