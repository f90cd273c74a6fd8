#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace platform {

// What a finished program left behind.
struct ProcessResult {
    int status = 0;
    // Standard output and standard error, merged in the order written.
    QString output;
    bool operator==(const ProcessResult &) const = default;
};

// Runs external programs without blocking the caller.
class IProcessRunner {
public:
    virtual ~IProcessRunner() = default;
    // Starts program with arguments (environment and working folder
    // inherited); done runs on the main thread once it has ended. A program
    // that cannot be started reports status 1 and the reason as output.
    // A program still running after timeoutMs (0: no limit) is killed and
    // reports status -1.
    virtual void run(const QString &program, const QStringList &arguments, int timeoutMs,
                     std::function<void(const ProcessResult &)> done) = 0;
    void run(const QString &program, const QStringList &arguments, std::function<void(const ProcessResult &)> done)
    {
        run(program, arguments, 0, std::move(done));
    }
};

// Finds the user's command-line tools without starting any process.
class IToolLocator {
public:
    virtual ~IToolLocator() = default;
    // The absolute path of an executable named name, or empty.
    virtual QString find(const QString &name) = 0;
};

} // namespace platform
