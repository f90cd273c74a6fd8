#pragma once

#include <QDateTime>
#include <QString>

// The desktop's trash (the freedesktop.org layout: "files" and "info" under
// the trash folder). Moving a file there keeps it restorable from the file
// manager.
namespace FileTrash {
// $XDG_DATA_HOME/Trash, else ~/.local/share/Trash.
QString homeTrash();
// Moves the file into trashFolder with its ".trashinfo" record; a name taken
// there gets " 2", " 3"... False when the file stays where it was.
bool moveToTrash(const QString &path, const QString &trashFolder, const QDateTime &when = QDateTime::currentDateTime());
} // namespace FileTrash
