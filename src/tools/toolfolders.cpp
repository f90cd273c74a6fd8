#include "tools/toolfolders.h"

#include <QDir>
#include <QStandardPaths>

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

} // namespace ToolFolders
