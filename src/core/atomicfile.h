#pragma once

#include <QByteArray>
#include <QString>

namespace AtomicFile {
// Replaces the file at path by a whole new copy holding data: the bytes go to
// a temporary file beside it, every write, the flush and the sync to disk are
// checked, and only then does the copy take the file's name. When any step
// fails (a full disk, a read-only folder) the file stays exactly as it was and
// the temporary copy is removed. error, when given, then says why.
bool write(const QString &path, const QByteArray &data, QString *error = nullptr);
} // namespace AtomicFile
