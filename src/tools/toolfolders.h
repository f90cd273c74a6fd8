#pragma once

#include <QByteArray>
#include <QString>

class QUrl;

// Where the tools put what they make.
namespace ToolFolders {
// The user's Downloads folder; "Downloads" in the home folder when the
// desktop names none.
QString downloads();
// The pocket's copies: "PavletPocket" in the user's cache folder (the
// temporary folder when there is none).
QString pocket();
// "pavlet" in the user's runtime folder (the cache folder when there is
// none), made if missing, that only this user may enter or write: a real
// folder (no link) owned by this user, with no rights for anyone else. ""
// when no such folder can be had.
QString privateScratch();
// Whether path is such a folder; one of this user's with wider rights is
// narrowed to the owner first.
bool ensurePrivateFolder(const QString &path);
// The path a local file address names, as the bytes the file system knows
// it by. A name need not be UTF-8, and the text Qt gives for such a name
// (toLocalFile(), QFile::decodeName()) no longer names the file: the bytes
// come straight from the address's percent-encoding instead. Empty for an
// address that names no local file, and for one with a NUL byte, which no
// file name holds: the system would read the path only up to it.
QByteArray localPath(const QUrl &url);
} // namespace ToolFolders
