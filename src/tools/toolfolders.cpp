#include "tools/toolfolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

#include <cerrno>

#include <sys/stat.h>
#include <unistd.h>

namespace ToolFolders {

QString downloads()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    return folder.isEmpty() ? QDir::home().filePath(QStringLiteral("Downloads")) : folder;
}

QString pocket()
{
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (base.isEmpty())
        base = QDir::tempPath();
    return QDir(base).filePath(QStringLiteral("PavletPocket"));
}

bool ensurePrivateFolder(const QString &path)
{
    if (path.isEmpty())
        return false;
    const QByteArray native = QFile::encodeName(path);
    // Made with the owner's rights alone; an existing one is looked at
    // without following a link.
    if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST)
        return false;
    struct stat st {};
    if (::lstat(native.constData(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid())
        return false;
    if ((st.st_mode & 077) != 0 && ::chmod(native.constData(), 0700) != 0)
        return false;
    return true;
}

QString privateScratch()
{
    for (const auto location : {QStandardPaths::RuntimeLocation, QStandardPaths::GenericCacheLocation}) {
        const QString base = QStandardPaths::writableLocation(location);
        if (base.isEmpty() || !QDir().mkpath(base))
            continue;
        const QString folder = QDir(base).filePath(QStringLiteral("pavlet"));
        if (ensurePrivateFolder(folder))
            return folder;
    }
    return {};
}

QByteArray localPath(const QUrl &url)
{
    if (!url.isLocalFile())
        return {};
    QByteArray path;
    if (!url.host().isEmpty()) {
        path = QFile::encodeName(QDir::cleanPath(url.toLocalFile()));
    } else {
        const QByteArray bytes = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
        // Latin-1 maps each byte to one character and back, so the cleaning,
        // which only looks at "/" and ".", leaves every other byte as it was.
        path = QDir::cleanPath(QString::fromLatin1(bytes)).toLatin1();
    }
    return path.contains('\0') ? QByteArray() : path;
}

} // namespace ToolFolders
