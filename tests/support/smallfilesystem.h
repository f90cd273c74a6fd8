#pragma once

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStorageInfo>

// A tmpfs of its own mounted over folder for the object's life (mounting needs
// root; why says what failed, empty once mounted); fill() takes every free
// block with dd, as on a full disk, and free() gives them back.
class SmallFileSystem {
public:
    explicit SmallFileSystem(const QString &folder) : m_folder(QDir(folder).absolutePath())
    {
        why = run("mount", {"-t", "tmpfs", "-o", "size=256k", "tmpfs", m_folder});
    }
    ~SmallFileSystem()
    {
        // Lazily when a file is still open in it, so that nothing stays behind.
        if (why.isEmpty() && !run("umount", {m_folder}).isEmpty())
            run("umount", {"-l", m_folder});
    }
    bool fill()
    {
        run("dd", {"if=/dev/zero", "of=" + m_folder + "/.fill", "bs=4k"}); // ends with "No space left"
        return QStorageInfo(m_folder).bytesAvailable() == 0;
    }
    void free() { QFile::remove(m_folder + "/.fill"); }

    QString why;

private:
    // Runs a program to its end; its error output when it fails.
    static QString run(const QString &program, const QStringList &arguments)
    {
        QProcess process;
        process.start(program, arguments);
        const bool ended = process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit;
        return ended && process.exitCode() == 0 ? QString() : program + ": " + process.readAllStandardError().trimmed();
    }

    QString m_folder;
};
