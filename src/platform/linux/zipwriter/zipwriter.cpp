#include "platform/linux/zipwriter/zipwriter.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <archive.h>
#include <archive_entry.h>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <locale.h>
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

// Whether bytes read as UTF-8 (ASCII included).
bool isUtf8(const QByteArray &bytes)
{
    // Bytes that are not UTF-8 decode to replacement characters, which
    // encode to other bytes.
    return QString::fromUtf8(bytes).toUtf8() == bytes;
}

// The locales an entry's name is written under. Names are stored as the
// bytes the file system gives, never converted; the zip writer marks a
// name as UTF-8 when the thread's locale is a UTF-8 one, so a name that is
// UTF-8 goes under C.UTF-8 and one that is not under C, which claims
// nothing (as common zip tools store such names).
struct NameLocales {
    NameLocales()
        : utf8(newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t(0))), plain(newlocale(LC_CTYPE_MASK, "C", locale_t(0))),
          callers(uselocale(locale_t(0)))
    {
    }
    ~NameLocales()
    {
        uselocale(callers);
        if (utf8)
            freelocale(utf8);
        if (plain)
            freelocale(plain);
    }
    NameLocales(const NameLocales &) = delete;
    NameLocales &operator=(const NameLocales &) = delete;
    void use(const QByteArray &name) const
    {
        const locale_t wanted = isUtf8(name) ? utf8 : plain;
        if (wanted)
            uselocale(wanted);
    }
    locale_t utf8, plain, callers;
};

struct Writer {
    archive *a = archive_write_new();
    NameLocales locales;
    struct stat written = {}; // the archive itself, never held in itself
    // The names of what could not be held, one a line.
    QByteArray leftOut;
    // Why the archive could not be written.
    QByteArray reason;

    void leaveOut(const QByteArray &name)
    {
        leftOut += name.mid(name.lastIndexOf('/', name.size() - 2) + 1) + '\n';
    }
    bool fail(const QByteArray &why)
    {
        if (reason.isEmpty())
            reason = why;
        return false;
    }
    bool failed()
    {
        const char *error = archive_error_string(a);
        return fail(error ? QByteArray(error) : QByteArray(::strerror(errno)));
    }
};

// Adds the entry at path (the file system's bytes) as name.
bool addEntry(Writer &w, const QByteArray &path, QByteArray name, const struct stat &st)
{
    if (S_ISDIR(st.st_mode))
        name += '/';
    // Sockets, pipes and devices have no content to store.
    if (!S_ISDIR(st.st_mode) && !S_ISLNK(st.st_mode) && !S_ISREG(st.st_mode)) {
        w.leaveOut(name);
        return true;
    }
    // A file that cannot be opened is left out, and named.
    const int fd = S_ISREG(st.st_mode) ? ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW) : -1;
    if (S_ISREG(st.st_mode) && fd < 0) {
        w.leaveOut(name);
        return true;
    }
    archive_entry *entry = archive_entry_new();
    archive_entry_copy_stat(entry, &st);
    archive_entry_set_pathname(entry, name.constData());
    w.locales.use(name);

    bool ok = true;
    if (S_ISLNK(st.st_mode)) {
        // The link itself, with its own target text ("." or "../photos"),
        // byte for byte: resolved, it would point into this machine's
        // folders wherever the archive is unpacked.
        const QByteArray target = linkText(path, st);
        if (target.isEmpty()) {
            w.leaveOut(name);
        } else {
            archive_entry_set_symlink(entry, target.constData());
            archive_entry_set_size(entry, 0);
            ok = archive_write_header(w.a, entry) == ARCHIVE_OK || w.failed();
        }
    } else if (S_ISDIR(st.st_mode)) {
        archive_entry_set_size(entry, 0);
        ok = archive_write_header(w.a, entry) == ARCHIVE_OK || w.failed();
    } else {
        ok = archive_write_header(w.a, entry) == ARCHIVE_OK || w.failed();
        char buffer[64 * 1024];
        while (ok) {
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR)
                continue;
            // Its header is written: a file that fails mid-way fails the
            // archive.
            if (n < 0)
                ok = w.fail("can't read " + name);
            if (n <= 0)
                break;
            ok = archive_write_data(w.a, buffer, size_t(n)) == n || w.failed();
        }
    }
    if (fd >= 0)
        ::close(fd);
    archive_entry_free(entry);
    return ok;
}

// Adds what the folder at path holds, below name. Names are read with
// readdir() as bytes: Qt's folder listings leave out names that are not
// UTF-8.
bool addFolder(Writer &w, const QByteArray &path, const QByteArray &name)
{
    // A folder that cannot be listed is stored empty, and named.
    DIR *dir = ::opendir(path.constData());
    if (!dir) {
        w.leaveOut(name + '/');
        return true;
    }
    QList<QByteArray> children;
    errno = 0;
    while (const dirent *child = ::readdir(dir)) {
        const QByteArray childName(child->d_name);
        if (childName != "." && childName != "..")
            children.append(childName);
    }
    const bool listed = errno == 0;
    ::closedir(dir);
    if (!listed)
        return w.fail("can't read " + name.mid(name.lastIndexOf('/') + 1));
    for (const QByteArray &child : std::as_const(children)) {
        const QByteArray childPath = path + '/' + child;
        struct stat st;
        if (::lstat(childPath.constData(), &st) != 0) {
            w.leaveOut(name + '/' + child);
            continue;
        }
        if (st.st_dev == w.written.st_dev && st.st_ino == w.written.st_ino)
            continue;
        if (!addEntry(w, childPath, name + '/' + child, st))
            return false;
        if (S_ISDIR(st.st_mode) && !addFolder(w, childPath, name + '/' + child))
            return false;
    }
    return true;
}

bool addInput(Writer &w, QByteArray input)
{
    while (input.size() > 1 && input.endsWith('/'))
        input.chop(1);
    const QByteArray name = input.mid(input.lastIndexOf('/') + 1);
    struct stat st;
    if (name.isEmpty() || ::lstat(input.constData(), &st) != 0)
        return w.fail("can't find " + name);
    if (!addEntry(w, input, name, st))
        return false;
    return !S_ISDIR(st.st_mode) || addFolder(w, input, name);
}

} // namespace
} // namespace platform

int pavlet_zip_write(const char *const *inputs, int count, const char *archivePath, char *note, int noteSize)
{
    using platform::addInput;
    platform::Writer w;
    archive_write_set_format_zip(w.a);
    bool ok = (archive_write_open_filename(w.a, archivePath) == ARCHIVE_OK || w.failed())
              && (::stat(archivePath, &w.written) == 0 || w.fail(::strerror(errno)));
    for (int i = 0; ok && i < count; ++i)
        ok = addInput(w, QByteArray(inputs[i]));
    if (archive_write_close(w.a) != ARCHIVE_OK)
        ok = w.failed();
    archive_write_free(w.a);
    if (!ok)
        ::unlink(archivePath);
    if (note && noteSize > 0) {
        const QByteArray text = (ok ? w.leftOut : w.reason).left(noteSize - 1);
        std::memcpy(note, text.constData(), size_t(text.size()));
        note[text.size()] = '\0';
    }
    return ok ? 0 : 1;
}
