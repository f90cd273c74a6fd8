#pragma once

#include "processrunner.h"

#include <QDBusConnection>
#include <QObject>

// Outside tools through QProcess, each with a time limit.
class QProcessRunner final : public QObject, public platform::IProcessRunner {
    Q_OBJECT
public:
    explicit QProcessRunner(QObject *parent = nullptr);

    bool isExecutable(const QString &path) const override;
    QString findExecutable(const QString &name) const override;
    void run(const QString &program, const QStringList &args, int timeoutMs, Done done) override;
};

// Shows a file with the desktop's file manager
// (org.freedesktop.FileManager1.ShowItems), else opens its folder.
class FileManagerRevealer final : public QObject, public platform::IFileRevealer {
    Q_OBJECT
public:
    explicit FileManagerRevealer(const QDBusConnection &bus, QObject *parent = nullptr);
    void reveal(const QString &path) override;

private:
    QDBusConnection m_bus;
};
