#include "core/filetrash.h"

#include "core/atomicfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

namespace FileTrash {

QString homeTrash()
{
    QString data = qEnvironmentVariable("XDG_DATA_HOME");
    if (data.isEmpty() || !QDir::isAbsolutePath(data))
        data = QDir::homePath() + QStringLiteral("/.local/share");
    return data + QStringLiteral("/Trash");
}

bool moveToTrash(const QString &path, const QString &trashFolder, const QDateTime &when)
{
    const QFileInfo source(path);
    if (!source.isFile() || trashFolder.isEmpty())
        return false;
    const QDir trash(trashFolder);
    if (!trash.mkpath(QStringLiteral("files")) || !trash.mkpath(QStringLiteral("info")))
        return false;

    const QString base = source.completeBaseName();
    const QString suffix = source.suffix().isEmpty() ? QString() : QLatin1Char('.') + source.suffix();
    QString name = source.fileName();
    for (int n = 2; QFileInfo::exists(trash.filePath(QStringLiteral("files/") + name))
                    || QFileInfo::exists(trash.filePath(QStringLiteral("info/") + name + QStringLiteral(".trashinfo")));
         ++n)
        name = QStringLiteral("%1 %2%3").arg(base).arg(n).arg(suffix);

    const QByteArray encoded = QUrl::toPercentEncoding(source.absoluteFilePath(), "/");
    if (!AtomicFile::write(trash.filePath(QStringLiteral("info/") + name + QStringLiteral(".trashinfo")),
                           "[Trash Info]\nPath=" + encoded + "\nDeletionDate="
                               + when.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")).toUtf8() + "\n"))
        return false;

    const QString target = trash.filePath(QStringLiteral("files/") + name);
    if (QFile::rename(path, target))
        return true;
    // Another file system: copy, then remove the original.
    if (QFile::copy(path, target) && QFile::remove(path))
        return true;
    QFile::remove(target);
    QFile::remove(trash.filePath(QStringLiteral("info/") + name + QStringLiteral(".trashinfo")));
    return false;
}

} // namespace FileTrash
