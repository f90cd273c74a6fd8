#include "core/atomicfile.h"

#include <QSaveFile>
#include <algorithm>

namespace AtomicFile {

bool write(const QString &path, const QByteArray &data, QString *error)
{
    // Unbuffered, so that a failed write shows at the write itself: a
    // buffered one would only fail in the flush at commit, which the save
    // file does not count as a reason to keep the old file.
    QSaveFile file(path);
    bool ok = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    qint64 done = 0;
    while (ok && done < data.size()) {
        const qint64 n = file.write(data.constData() + done, data.size() - done);
        ok = n > 0;
        done += std::max<qint64>(n, 0);
    }
    if (!ok) {
        if (error)
            *error = file.errorString();
        file.cancelWriting(); // the temporary copy goes with the object
        return false;
    }
    // Flushes, syncs to disk, then renames over the old file.
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace AtomicFile
