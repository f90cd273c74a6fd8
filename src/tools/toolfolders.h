#pragma once

#include <QString>

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
} // namespace ToolFolders
