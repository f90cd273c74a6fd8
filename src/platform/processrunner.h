#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace platform {

// Outside command-line tools.
class IProcessRunner {
public:
    using Done = std::function<void(bool succeeded)>;
    virtual ~IProcessRunner() = default;

    // The program's path when it is an executable file.
    virtual bool isExecutable(const QString &path) const = 0;
    // The program found on the search path; empty when there is none.
    virtual QString findExecutable(const QString &name) const = 0;
    // Runs program with args, its output discarded. done runs once on the
    // main thread: true when it exited with status 0; false when it could
    // not start, failed, or ran longer than timeoutMs and was killed.
    virtual void run(const QString &program, const QStringList &args, int timeoutMs, Done done) = 0;
};

// Shows a file in the desktop's file manager.
class IFileRevealer {
public:
    virtual ~IFileRevealer() = default;
    virtual void reveal(const QString &path) = 0;
};

} // namespace platform
