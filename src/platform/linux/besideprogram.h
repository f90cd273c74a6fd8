#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

namespace platform {

// A helper program or module the build made: where the build put it, else
// the file of its name beside this program (as installed).
inline QString builtOrBesideProgram(const QString &built)
{
    if (QFile::exists(built))
        return built;
    return QDir(QCoreApplication::applicationDirPath()).filePath(QFileInfo(built).fileName());
}

} // namespace platform
