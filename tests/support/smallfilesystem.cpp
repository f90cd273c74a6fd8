#include "support/smallfilesystem.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStorageInfo>

namespace {
// Runs a program to its end; its error output when it fails.
QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    const bool ended = process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit;
    return ended && process.exitCode() == 0 ? QString() : program + ": " + process.readAllStandardError().trimmed();
}
} // namespace

SmallFileSystem::SmallFileSystem(const QString &folder) : m_folder(QDir(folder).absolutePath())
{
    why = run("mount", {"-t", "tmpfs", "-o", "size=256k", "tmpfs", m_folder});
}

SmallFileSystem::~SmallFileSystem()
{
    // Lazily when a file is still open in it, so that nothing stays behind.
    if (why.isEmpty() && !run("umount", {m_folder}).isEmpty())
        run("umount", {"-l", m_folder});
}

bool SmallFileSystem::fill()
{
    run("dd", {"if=/dev/zero", "of=" + m_folder + "/.fill", "bs=4k"}); // ends with "No space left"
    return QStorageInfo(m_folder).bytesAvailable() == 0;
}

void SmallFileSystem::free() { QFile::remove(m_folder + "/.fill"); }
