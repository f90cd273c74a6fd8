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
    if (!process.waitForFinished(30000))
        return program + QStringLiteral(" did not end: ") + process.errorString();
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return program + QStringLiteral(": ") + QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
    return {};
}

} // namespace

SmallFileSystem::SmallFileSystem(const QString &folder, int kilobytes) : m_folder(QDir(folder).absolutePath())
{
    QDir().mkpath(m_folder);
    m_why = run(QStringLiteral("mount"), {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                                          QStringLiteral("size=%1k").arg(kilobytes), QStringLiteral("tmpfs"), m_folder});
    m_mounted = m_why.isEmpty();
}

SmallFileSystem::~SmallFileSystem()
{
    if (!m_mounted)
        return;
    // Lazily when a file is still open in it, so that nothing stays behind.
    if (!run(QStringLiteral("umount"), {m_folder}).isEmpty())
        run(QStringLiteral("umount"), {QStringLiteral("-l"), m_folder});
}

bool SmallFileSystem::fill()
{
    // dd ends with "No space left on device", which is what is wanted here.
    run(QStringLiteral("dd"), {QStringLiteral("if=/dev/zero"), QStringLiteral("of=") + m_folder + QStringLiteral("/.fill"),
                               QStringLiteral("bs=4k")});
    return QStorageInfo(m_folder).bytesAvailable() == 0;
}

void SmallFileSystem::free()
{
    QFile::remove(m_folder + QStringLiteral("/.fill"));
}
