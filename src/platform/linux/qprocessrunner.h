#pragma once

#include "platform/processrunner.h"

#include <QObject>

namespace platform {

// Runs programs through QProcess with standard output and standard error
// merged; QProcess drains the pipe while the program runs. Standard input
// is empty, so a program that asks a question gets no answer and goes on.
class QProcessRunner final : public QObject, public IProcessRunner {
    Q_OBJECT
public:
    using QObject::QObject;
    using IProcessRunner::run;
    void run(const QString &program, const QStringList &arguments, int timeoutMs,
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
