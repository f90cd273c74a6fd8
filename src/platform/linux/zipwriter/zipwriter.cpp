#include "platform/linux/zipwriter/zipwriter.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <archive.h>
#include <archive_entry.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// What the symlink at path holds, as the bytes it holds; empty when it
// cannot be read.
QByteArray linkText(const QByteArray &path, const struct stat &st)
{
    // st_size is the text's length, but a link may change between the two
    // calls: read into one byte more than that, and ask again while full.
    QByteArray text(qMax<qsizetype>(st.st_size, 64) + 1, Qt::Uninitialized);
    for (int tries = 0; tries < 8; ++tries) {
        const ssize_t n = ::readlink(path.constData(), text.data(), size_t(text.size()));
        if (n < 0)
            return {};
        if (n < text.size()) {
            text.truncate(n);
            return text;
        }
        text.resize(text.size() * 2);
    }
    return {};
}

bool addEntry(archive *a, const QFileInfo &info, const QString &name)
{
    archive_entry *entry = archive_entry_new();
    const QByteArray utf8 = name.toUtf8();
    archive_entry_set_pathname_utf8(entry, utf8.constData());
    struct stat st;
    const QByteArray local = QFile::encodeName(info.absoluteFilePath());
    if (::lstat(local.constData(), &st) != 0) {
        archive_entry_free(entry);
        return false;
    }
    archive_entry_copy_stat(entry, &st);
    archive_entry_set_pathname_utf8(entry, utf8.constData());

    bool ok = true;
    if (S_ISLNK(st.st_mode)) {
        // The link itself, with its own target text ("." or "../photos"):
        // resolved, it would point into this machine's folders wherever
        // the archive is unpacked.
        const QByteArray target = linkText(local, st);
        ok = !target.isEmpty();
        if (ok) {
            // Stored as UTF-8 like the names; bytes that are not UTF-8
            // go as they are.
            if (QString::fromUtf8(target).toUtf8() == target)
                archive_entry_set_symlink_utf8(entry, target.constData());
            else
                archive_entry_set_symlink(entry, target.constData());
            archive_entry_set_size(entry, 0);
            ok = archive_write_header(a, entry) == ARCHIVE_OK;
        }
    } else if (S_ISDIR(st.st_mode)) {
        archive_entry_set_size(entry, 0);
        ok = archive_write_header(a, entry) == ARCHIVE_OK;
    } else if (S_ISREG(st.st_mode)) {
        QFile file(info.absoluteFilePath());
        ok = file.open(QIODevice::ReadOnly) && archive_write_header(a, entry) == ARCHIVE_OK;
        char buffer[64 * 1024];
        while (ok) {
            const qint64 n = file.read(buffer, sizeof buffer);
            if (n < 0)
                ok = false;
            if (n <= 0)
                break;
            ok = archive_write_data(a, buffer, size_t(n)) == n;
        }
    }
    // Sockets, pipes and devices are left out.
    archive_entry_free(entry);
    return ok;
}

bool addInput(archive *a, const QString &input)
{
    const QFileInfo top(QDir::cleanPath(input));
    if (!top.exists() && !top.isSymLink())
        return false;
    const QDir parent = top.dir();
    if (!addEntry(a, top, top.fileName() + (top.isDir() && !top.isSymLink() ? QStringLiteral("/") : QString())))
        return false;
    if (!top.isDir() || top.isSymLink())
        return true;
    QDirIterator it(top.absoluteFilePath(), QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        QString name = parent.relativeFilePath(info.absoluteFilePath());
        if (info.isDir() && !info.isSymLink())
            name += u'/';
        if (!addEntry(a, info, name))
            return false;
    }
    return true;
}

} // namespace
} // namespace platform

int pavlet_zip_write(const char *const *inputs, int count, const char *archivePath)
{
    using platform::addInput;
    const QString path = QFile::decodeName(archivePath);
    archive *a = archive_write_new();
    archive_write_set_format_zip(a);
    archive_write_set_options(a, "zip:hdrcharset=UTF-8");
    bool ok = archive_write_open_filename(a, archivePath) == ARCHIVE_OK;
    for (int i = 0; ok && i < count; ++i)
        ok = addInput(a, QFile::decodeName(inputs[i]));
    if (archive_write_close(a) != ARCHIVE_OK)
        ok = false;
    archive_write_free(a);
    if (!ok)
        QFile::remove(path);
    return ok ? 0 : 1;
}
