#include "tools/pocketstore.h"

#include "core/atomicfile.h"
#include "core/clock.h"
#include "core/executor.h"
#include "core/userdefaults.h"
#include "platform/clipboard.h"
#include "platform/filecopy.h"
#include "tools/toolfolders.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QCoreApplication>
#include <QImage>
#include <QImageReader>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPointer>
#include <QTimeZone>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cmath>
#include <map>
#include <sys/stat.h>
#include <filesystem>

// ---- PocketItemModel ----

PocketItemModel::PocketItemModel(const QString &folder, QObject *parent)
    : QAbstractListModel(parent), m_folder(folder)
{
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &PocketItemModel::refreshMissing);
}

QString PocketItemModel::path(const PocketItem &item) const
{
    return QDir(m_folder).filePath(item.filename);
}

void PocketItemModel::refreshMissing()
{
    // The folder itself may have been made, or made again, since.
    if (m_watcher.directories().isEmpty() && QFileInfo(m_folder).isDir())
        m_watcher.addPath(m_folder);
    for (int i = 0; i < count(); ++i) {
        const PocketItem &item = m_items.at(i);
        const bool gone = !QFileInfo::exists(path(item));
        if (gone == m_missing.contains(item.id))
            continue;
        if (gone)
            m_missing.insert(item.id);
        else
            m_missing.remove(item.id);
        emit dataChanged(index(i), index(i), {MissingRole});
    }
}

QVariant PocketItemModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() < 0 || index.row() >= count())
        return {};
    const PocketItem &item = m_items.at(index.row());
    switch (role) {
    case IdRole:
        return item.idText();
    case Qt::DisplayRole:
    case NameRole:
        return item.name;
    case FilenameRole:
        return item.filename;
    case IsDirectoryRole:
        return item.isDirectory;
    case ByteCountRole:
        return item.byteCount;
    case AddedAtRole:
        return item.addedAt;
    case PathRole:
        return path(item);
    case MissingRole:
        return m_missing.contains(item.id);
    default:
        return {};
    }
}

QHash<int, QByteArray> PocketItemModel::roleNames() const
{
    return {{IdRole, "itemId"},           {NameRole, "name"},           {FilenameRole, "filename"},
            {IsDirectoryRole, "isDirectory"}, {ByteCountRole, "byteCount"}, {AddedAtRole, "addedAt"},
            {PathRole, "path"},         {MissingRole, "missing"}};
}

void PocketItemModel::prepend(const QList<PocketItem> &batch)
{
    if (batch.isEmpty())
        return;
    // A batch larger than a view shows pushes every row it had out of sight.
    // Told as an insertion, the view would move each of those rows out with
    // its displacement transition, and one left behind stays drawn under
    // the new first row until the list scrolls; told as a new list, the view
    // draws the rows in sight once, afresh.
    if (batch.size() > bigBatch) {
        beginResetModel();
        m_items = batch + m_items;
        endResetModel();
    } else {
        beginInsertRows(QModelIndex(), 0, int(batch.size()) - 1);
        m_items = batch + m_items;
        endInsertRows();
    }
    emit countChanged();
    refreshMissing();
}

void PocketItemModel::removeId(const QUuid &id)
{
    bool removed = false;
    for (int i = int(m_items.size()) - 1; i >= 0; --i) {
        if (m_items.at(i).id == id) {
            beginRemoveRows(QModelIndex(), i, i);
            m_items.removeAt(i);
            endRemoveRows();
            m_missing.remove(id);
            removed = true;
        }
    }
    if (removed)
        emit countChanged();
}

void PocketItemModel::reset(const QList<PocketItem> &items)
{
    const int before = count();
    beginResetModel();
    m_items = items;
    m_missing.clear();
    endResetModel();
    if (count() != before)
        emit countChanged();
    refreshMissing();
}

// ---- PocketStore ----

namespace {

// One plain name: no folder separators, not "." or "..", no NUL (the
// system would read "a.txt\0" as "a.txt", another row's copy).
bool isPlainName(const QString &name)
{
    return !name.isEmpty() && !name.contains(u'/') && !name.contains(QChar(0)) && name != u"." && name != u"..";
}

std::filesystem::path fsPath(const QByteArray &bytes)
{
    return std::filesystem::path(bytes.toStdString());
}

std::filesystem::path fsPath(const QString &path)
{
    return fsPath(QFile::encodeName(path));
}

// A path's last component, as the pocket shows it; bytes that are not
// UTF-8 show as replacement characters.
QString lastComponent(const QByteArray &path)
{
    return QFile::decodeName(path.mid(path.lastIndexOf('/') + 1));
}

QString lastComponent(const QUrl &url)
{
    const QByteArray path = ToolFolders::localPath(url);
    return !path.isEmpty() ? lastComponent(path) : QFileInfo(url.path()).fileName().remove(QChar(0));
}

bool removePath(const QString &path)
{
    std::error_code ec;
    std::filesystem::remove_all(fsPath(path), ec);
    return !ec;
}

// Whether path is base or inside it; both canonical.
bool within(const std::filesystem::path &path, const std::filesystem::path &base)
{
    const auto [end, rest] = std::mismatch(base.begin(), base.end(), path.begin(), path.end());
    return end == base.end();
}

// Copies a file or folder tree, following the links in it: a link is
// copied as what it points at, so that the copy stands on its own. A link
// to something inside the tree, or to something already copied, stays a
// (relative) link to its copy, so that each file is copied once and a loop
// is never followed; one that points nowhere, at a folder holding the tree,
// or into the copy being made stays as it was. Pipes, devices and the
// kernel's own files (/proc, /sys) are refused, whether reached by a link
// or not. Files keep their holes.
class TreeCopy {
public:
    // root: the tree, canonical; destination: where its copy goes, absolute;
    // pocket: the pocket folder, canonical.
    TreeCopy(const std::filesystem::path &root, const std::filesystem::path &destination,
             const std::filesystem::path &pocket, const std::atomic<bool> *stop)
        : m_root(root), m_destination(destination), m_pocket(pocket), m_stop(stop)
    {
        // The copy is looked for by where it really lies.
        std::error_code ec;
        const std::filesystem::path parent = std::filesystem::canonical(destination.parent_path(), ec);
        if (!ec)
            m_destinationReal = parent / destination.filename();
    }

    bool copy(const std::filesystem::path &from, const std::filesystem::path &to, std::error_code &ec)
    {
        namespace fs = std::filesystem;
        if (m_stop && m_stop->load(std::memory_order_relaxed)) {
            ec = std::make_error_code(std::errc::operation_canceled);
            return false;
        }
        struct stat st;
        if (::lstat(from.c_str(), &st) != 0) {
            ec = std::error_code(errno, std::generic_category());
            return false;
        }
        m_copied.emplace(std::pair(st.st_dev, st.st_ino), to);
        if (S_ISREG(st.st_mode))
            return platform::copyFileKeepingHoles(from.c_str(), to.c_str(), m_stop, ec);
        if (!S_ISDIR(st.st_mode) || platform::onKernelFileSystem(from.c_str())) {
            ec = std::make_error_code(std::errc::not_supported);
            return false;
        }
        if (!fs::create_directory(to, ec))
            return false;
        for (fs::directory_iterator it(from, ec), end; !ec && it != end; it.increment(ec)) {
            if (!entry(it->path(), to / it->path().filename(), ec))
                return false;
        }
        return !ec;
    }

private:
    bool entry(const std::filesystem::path &from, const std::filesystem::path &to, std::error_code &ec)
    {
        namespace fs = std::filesystem;
        if (!fs::is_symlink(fs::symlink_status(from, ec)))
            return !ec && copy(from, to, ec);
        std::error_code unresolved;
        const fs::path target = fs::canonical(from, unresolved);
        struct stat st;
        const bool resolved = !unresolved && ::stat(target.c_str(), &st) == 0;
        const auto found = resolved ? m_copied.find(std::pair(st.st_dev, st.st_ino)) : m_copied.end();
        fs::path copy;
        if (found != m_copied.end())
            copy = found->second;
        else if (resolved && within(target, m_root))
            copy = m_destination / target.lexically_relative(m_root);
        // A link into the copy under way would have it copy itself, deeper
        // each time, until paths grow too long.
        const bool intoCopy = resolved && !m_destinationReal.empty() && within(target, m_destinationReal);
        if (copy.empty() && (!resolved || intoCopy || within(m_root, target) || within(m_pocket, target))) {
            fs::copy_symlink(from, to, ec);
            return !ec;
        }
        if (copy.empty())
            return this->copy(target, to, ec);
        fs::create_symlink(copy.lexically_relative(to.parent_path()), to, ec);
        return !ec;
    }

    std::filesystem::path m_root;
    std::filesystem::path m_destination;
    std::filesystem::path m_destinationReal;
    std::filesystem::path m_pocket;
    const std::atomic<bool> *m_stop;
    std::map<std::pair<dev_t, ino_t>, std::filesystem::path> m_copied;
};

bool pathTaken(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// The name a copy of name gets in folder: name itself, else "base 2.ext",
// "base 3.ext", …, skipping what the folder holds and the names in taken.
QString freeName(const QString &folder, const QString &name, const QSet<QString> &taken)
{
    const QFileInfo info(name);
    QString base = info.completeBaseName();
    QString ext = info.suffix();
    if (base.isEmpty()) { // ".profile": no extension to split off
        base = name;
        ext.clear();
    }
    const QDir dir(folder);
    const auto isFree = [&](const QString &candidate) {
        return !taken.contains(candidate) && !pathTaken(dir.filePath(candidate));
    };
    QString candidate = name;
    for (qint64 n = 2; !isFree(candidate); ++n)
        candidate = base + u' ' + QString::number(n) + (ext.isEmpty() ? QString() : u'.' + ext);
    return candidate;
}

// Copies what url names into folder under a free name; away from the main
// thread.
bool holdOne(const QUrl &url, const QString &folder, QSet<QString> &taken, const QDateTime &addedAt,
             const std::atomic<bool> *stop, QList<PocketItem> &batch)
{
    namespace fs = std::filesystem;
    const QByteArray sourceBytes = ToolFolders::localPath(url);
    if (sourceBytes.isEmpty())
        return false;
    const fs::path source = fsPath(sourceBytes);
    std::error_code ec;
    const fs::file_status link = fs::symlink_status(source, ec);
    if (ec || !fs::exists(link))
        return false;

    // A link is held as a copy of what it points at; one that points
    // nowhere or into a loop has nothing to hold.
    const fs::path canonicalPath = fs::canonical(source, ec);
    if (ec)
        return false;
    // The pocket folder itself, or a folder holding it, would be copied
    // into itself without end.
    const fs::path pocket = fs::canonical(fsPath(folder), ec);
    if (ec || within(pocket, canonicalPath))
        return false;

    const bool isDirectory = fs::is_directory(canonicalPath, ec);
    // The copy takes the name as the pocket shows it: always valid text,
    // so the index and the views name the copy exactly.
    const QString name = lastComponent(sourceBytes);
    const QString filename = freeName(folder, name, taken);
    const QString destination = QDir(folder).filePath(filename);
    // Whatever is there already stays: only what this copy wrote is
    // removed when it fails.
    const fs::path target = fsPath(destination);
    if (fs::exists(fs::symlink_status(target, ec)))
        return false;

    const fs::path copy = fs::absolute(target, ec);
    if (ec || !TreeCopy(canonicalPath, copy, pocket, stop).copy(canonicalPath, copy, ec)) {
        removePath(destination);
        return false;
    }
    qint64 byteCount = 0;
    if (!isDirectory) {
        // The size of what a link points at, as a file's own size.
        const auto size = fs::file_size(source, ec);
        byteCount = ec ? 0 : qint64(size);
    }
    taken.insert(filename);
    PocketItem item;
    item.id = QUuid::createUuid();
    item.name = name;
    item.filename = filename;
    item.isDirectory = isDirectory;
    item.byteCount = byteCount;
    item.addedAt = addedAt;
    batch.append(item);
    return true;
}

// What copying one drop made, and the names of what it could not hold.
struct Held {
    QList<PocketItem> batch;
    QStringList missed;
};

Held holdAll(const QList<QUrl> &urls, const QString &folder, QSet<QString> taken, const QDateTime &addedAt,
             const std::atomic<bool> *stop)
{
    QDir().mkpath(folder);
    Held held;
    for (const QUrl &url : urls) {
        if (!holdOne(url, folder, taken, addedAt, stop, held.batch))
            held.missed.append(lastComponent(url));
    }
    return held;
}

// The clipboard's image and text as taken on the main thread, to be written
// to a file away from it.
struct Snapshot {
    QByteArray png;
    QImage image;
    QString text;
    QString stamp;
    QString folder;
};

// The file a snapshot was written to, else why it was not; both empty when
// it held nothing to write.
struct Written {
    QString path;
    QString error;
};

Written writeSnapshot(const Snapshot &snapshot)
{
    QByteArray png = snapshot.png;
    if (!png.isEmpty()) {
        // Kept as the owner sent it, once it reads as a whole image.
        QBuffer buffer(&png);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer, "png");
        if (!reader.canRead() || reader.read().isNull())
            png.clear();
    } else if (!snapshot.image.isNull()) {
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (!snapshot.image.save(&buffer, "PNG"))
            png.clear();
    }
    if (!png.isEmpty()) {
        const QString path = QDir(snapshot.folder).filePath(QStringLiteral("Clipboard ") + snapshot.stamp + QStringLiteral(".png"));
        if (!AtomicFile::write(path, png))
            return {QString(), QStringLiteral("Couldn't hold that image")};
        return {path, QString()};
    }
    const QString text = snapshot.text.trimmed();
    if (!text.isEmpty()) {
        const QString path = QDir(snapshot.folder).filePath(QStringLiteral("Clipboard ") + snapshot.stamp + QStringLiteral(".txt"));
        if (!AtomicFile::write(path, text.toUtf8()))
            return {QString(), QStringLiteral("Couldn't hold that text")};
        return {path, QString()};
    }
    return {};
}

bool isBlank(const QString &text)
{
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.isSpace(); });
}

// Runs then on the main thread: at once when called there, else queued.
void onMainThread(std::function<void()> then)
{
    QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(then), Qt::AutoConnection);
}

} // namespace

PocketStore::PocketStore(UserDefaults *defaults, const Clock *clock, platform::IClipboard *clipboard,
                         const QString &folder, const QString &tempFolder, Executor *executor, QObject *parent)
    : QObject(parent), m_defaults(defaults), m_clock(clock), m_clipboard(clipboard), m_folder(folder),
      m_temp(tempFolder), m_model(folder), m_executor(executor ? executor : &ThreadPoolExecutor::shared()),
      m_stop(std::make_shared<std::atomic<bool>>(false))
{
    QDir().mkpath(m_folder);
    // Any later write of the defaults writes the index too.
    connect(m_defaults, &UserDefaults::writeStateChanged, this, [this] {
        if (m_defaults->lastWriteSucceeded())
            setUnsaved(false);
    });
    loadIndex();
    pruneIndex();
}

PocketStore::~PocketStore()
{
    // A copy under way stops and takes what it wrote with it.
    m_stop->store(true);
}

QString PocketStore::uniqueName(const QString &name) const
{
    QSet<QString> taken;
    for (const PocketItem &item : items())
        taken.insert(item.filename);
    return freeName(m_folder, name, taken);
}

bool PocketStore::ingest(const QList<QUrl> &urls)
{
    if (urls.isEmpty())
        return true;
    const quint64 ticket = ++m_tickets;
    m_queue.append({ticket, urls});
    startNext();
    if (m_finished == ticket)
        return m_finishedAllHeld;
    // Until the copies are made, what is plainly not there is told at once.
    return std::all_of(urls.cbegin(), urls.cend(), [](const QUrl &url) {
        const QByteArray path = ToolFolders::localPath(url);
        struct stat st;
        return !path.isEmpty() && ::lstat(path.constData(), &st) == 0;
    });
}

void PocketStore::startNext()
{
    if (m_copying.has_value() || m_queue.isEmpty()) {
        updateActivity();
        return;
    }
    const Drop drop = m_queue.takeFirst();
    m_copying = drop.urls.size() == 1 ? lastComponent(drop.urls.first()) : QString();
    m_copyingCount = int(drop.urls.size());
    updateActivity();
    // One drop at a time, so that each picks its names knowing the last.
    QSet<QString> taken;
    for (const PocketItem &item : items())
        taken.insert(item.filename);
    const QDateTime addedAt = QDateTime::fromMSecsSinceEpoch(m_clock->nowMs(), Qt::UTC);
    QPointer<PocketStore> self(this);
    m_executor->run([self, drop, folder = m_folder, taken, addedAt, stop = m_stop] {
        Held held = holdAll(drop.urls, folder, taken, addedAt, stop.get());
        onMainThread([self, ticket = drop.ticket, held = std::move(held)] {
            if (self)
                self->finishDrop(ticket, held.batch, held.missed);
        });
    });
}

void PocketStore::finishDrop(quint64 ticket, const QList<PocketItem> &batch, const QStringList &missed)
{
    // Every address not held is named, also beside the ones that were.
    const std::optional<QString> error =
        missed.isEmpty() ? std::nullopt
                         : std::optional<QString>(QStringLiteral("Couldn't hold ") + missed.join(QStringLiteral(", ")));
    if (!batch.isEmpty()) {
        m_model.prepend(batch);
        saveIndex();
    }
    setLastError(error);
    m_finished = ticket;
    m_finishedAllHeld = missed.isEmpty();
    m_copying.reset();
    startNext();
}

namespace {

// An address given as bytes: bytes beyond ASCII (a name that is not UTF-8
// among them) are percent-encoded first, so that none is lost to decoding.
QUrl addressFromBytes(const QByteArray &bytes)
{
    QByteArray ascii;
    ascii.reserve(bytes.size());
    for (const char c : bytes) {
        if (uchar(c) < 0x80) {
            ascii.append(c);
        } else {
            ascii.append('%');
            ascii.append(QByteArray::number(uchar(c), 16).toUpper().rightJustified(2, '0'));
        }
    }
    return QUrl::fromEncoded(ascii);
}

} // namespace

bool PocketStore::ingestDropped(const QVariantList &dropped)
{
    const double now = m_clock->nowSeconds();
    if (now - m_lastIngest < DropFilterSeconds)
        return false;
    m_lastIngest = now;
    QList<QUrl> urls;
    for (const QVariant &value : dropped) {
        QUrl url;
        if (value.metaType() == QMetaType::fromType<QUrl>())
            url = value.toUrl();
        else if (value.metaType() == QMetaType::fromType<QByteArray>())
            url = addressFromBytes(value.toByteArray());
        else if (value.metaType() == QMetaType::fromType<QString>())
            url = QUrl(value.toString());
        if (url.isValid() && url.isLocalFile())
            urls.append(url);
    }
    return !urls.isEmpty() && ingest(urls);
}

bool PocketStore::holdClipboard()
{
    // The clipboard is still being read from its owner: held once it is in.
    if (m_clipboard->readState() == platform::IClipboard::ReadState::reading) {
        if (!m_holdWaiting) {
            m_holdWaiting = true;
            updateActivity();
            m_clipboard->whenRead([self = QPointer<PocketStore>(this)] {
                if (self) {
                    self->m_holdWaiting = false;
                    self->holdRead();
                    self->updateActivity();
                }
            });
        }
        return true;
    }
    return holdRead();
}

bool PocketStore::holdRead()
{
    if (m_clipboard->readState() == platform::IClipboard::ReadState::failed) {
        setLastError(QStringLiteral("Couldn't read the clipboard"));
        return false;
    }
    const QList<QUrl> files = m_clipboard->fileUrls();
    if (!files.isEmpty()) {
        ingest(files);
        return true;
    }
    // The image is decoded and written, and the text written, away from the
    // main thread; what they give is held like a drop.
    Snapshot snapshot;
    snapshot.png = m_clipboard->imagePng();
    if (snapshot.png.isEmpty())
        snapshot.image = m_clipboard->readImage();
    snapshot.text = m_clipboard->text().value_or(QString());
    const bool imageTooLarge = m_clipboard->imageTooLarge();
    const bool textTooLarge = m_clipboard->textTooLarge();
    const auto nothing = [imageTooLarge, textTooLarge] {
        return imageTooLarge  ? QStringLiteral("Clipboard image is too large")
               : textTooLarge ? QStringLiteral("Clipboard text is too large")
                              : QStringLiteral("Clipboard is empty");
    };
    if (snapshot.png.isEmpty() && snapshot.image.isNull() && isBlank(snapshot.text)) {
        setLastError(nothing());
        return false;
    }
    snapshot.stamp = QString::number(m_clock->nowMs() / 1000);
    snapshot.folder = m_temp;
    ++m_snapshots;
    updateActivity();
    QPointer<PocketStore> self(this);
    m_executor->run([self, snapshot = std::move(snapshot), nothing] {
        const Written written = writeSnapshot(snapshot);
        onMainThread([self, written, nothing] {
            if (!self)
                return;
            --self->m_snapshots;
            if (!written.path.isEmpty())
                self->ingest({QUrl::fromLocalFile(written.path)});
            else
                self->setLastError(written.error.isEmpty() ? nothing() : written.error);
            self->updateActivity();
        });
    });
    return true;
}

QString PocketStore::activity() const
{
    if (m_copying)
        return m_copying->isEmpty() ? QStringLiteral("Holding %1 items\u2026").arg(m_copyingCount)
                                    : QStringLiteral("Holding ") + *m_copying + QStringLiteral("\u2026");
    if (m_holdWaiting || m_snapshots > 0)
        return QStringLiteral("Reading the clipboard\u2026");
    return QString();
}

void PocketStore::updateActivity()
{
    const QString now = activity();
    if (now != m_shownActivity) {
        m_shownActivity = now;
        emit activityChanged();
    }
}

void PocketStore::deleteCopy(const PocketItem &item)
{
    if (isPlainName(item.filename))
        removePath(QDir(m_folder).filePath(item.filename));
}

void PocketStore::remove(const QString &id)
{
    const QUuid uuid = QUuid::fromString(id);
    PocketItem found;
    bool any = false;
    for (const PocketItem &item : items()) {
        if (item.id == uuid) {
            found = item;
            any = true;
            break;
        }
    }
    m_model.removeId(uuid);
    if (any)
        deleteCopy(found);
    saveIndex();
}

void PocketStore::clear()
{
    for (const PocketItem &item : items())
        deleteCopy(item);
    m_model.reset({});
    saveIndex();
    setLastError(std::nullopt);
}

QByteArray PocketStore::encodeIndex(const QList<PocketItem> &items)
{
    QJsonArray array;
    for (const PocketItem &item : items) {
        array.append(QJsonObject{
            {QStringLiteral("id"), item.idText()},
            {QStringLiteral("name"), item.name},
            {QStringLiteral("filename"), item.filename},
            {QStringLiteral("isDirectory"), item.isDirectory},
            {QStringLiteral("byteCount"), item.byteCount},
            {QStringLiteral("addedAt"), double(item.addedAt.toMSecsSinceEpoch()) / 1000.0 - ReferenceEpochSeconds},
        });
    }
    return QJsonDocument(array).toJson(QJsonDocument::Compact);
}

namespace {

// Whether a double converts to a 64-bit integer without leaving its range
// (2^63 itself does not fit).
bool fitsInt64(double value)
{
    return std::isfinite(value) && value >= -9223372036854775808.0 && value < 9223372036854775808.0;
}

} // namespace

std::optional<QList<PocketItem>> PocketStore::decodeIndex(const QByteArray &data)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(data, &error);
    if (error.error != QJsonParseError::NoError || !doc.isArray())
        return std::nullopt;
    QList<PocketItem> items;
    for (const QJsonValue &value : doc.array()) {
        if (!value.isObject())
            return std::nullopt;
        const QJsonObject o = value.toObject();
        const QJsonValue id = o.value(QStringLiteral("id")), name = o.value(QStringLiteral("name")),
                         filename = o.value(QStringLiteral("filename")), dir = o.value(QStringLiteral("isDirectory")),
                         bytes = o.value(QStringLiteral("byteCount")), added = o.value(QStringLiteral("addedAt"));
        if (!id.isString() || !name.isString() || !filename.isString() || !dir.isBool() || !bytes.isDouble()
            || !added.isDouble())
            return std::nullopt;
        const QUuid uuid = QUuid::fromString(id.toString());
        const double count = bytes.toDouble();
        const double addedMs = (added.toDouble() + ReferenceEpochSeconds) * 1000.0;
        // Numbers are range-checked before any conversion to an integer: a
        // byte count or a date beyond 64 bits marks a damaged entry.
        if (uuid.isNull() || !fitsInt64(count) || count != std::trunc(count) || !fitsInt64(addedMs))
            return std::nullopt;
        PocketItem item;
        item.id = uuid;
        item.name = name.toString();
        item.filename = filename.toString();
        item.isDirectory = dir.toBool();
        item.byteCount = qint64(count);
        item.addedAt = QDateTime::fromMSecsSinceEpoch(qint64(addedMs), Qt::UTC);
        items.append(item);
    }
    return items;
}

void PocketStore::loadIndex()
{
    const QByteArray stored = m_defaults->dataValue(IndexKey);
    const auto decoded = decodeIndex(stored);
    QList<PocketItem> kept;
    if (decoded) {
        // A copy's name that is not one plain name would point remove and
        // clear outside the pocket folder.
        for (const PocketItem &item : *decoded) {
            if (isPlainName(item.filename))
                kept.append(item);
        }
    }
    if (decoded || stored.isEmpty()) {
        // Copies the index does not name were held when it could not be
        // saved: they are listed again, newest first, ahead of the rest.
        QSet<QString> named;
        for (const PocketItem &item : std::as_const(kept))
            named.insert(item.filename);
        QList<PocketItem> unnamed;
        const QFileInfoList entries =
            QDir(m_folder).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                         QDir::Time);
        for (const QFileInfo &entry : entries) {
            if (named.contains(entry.fileName()))
                continue;
            PocketItem item;
            item.id = QUuid::createUuid();
            item.name = entry.fileName();
            item.filename = entry.fileName();
            item.isDirectory = entry.isDir();
            item.byteCount = entry.isDir() ? 0 : entry.size();
            item.addedAt = entry.lastModified().toUTC();
            unnamed.append(item);
        }
        if (!unnamed.isEmpty()) {
            m_model.reset(unnamed + kept);
            saveIndex();
            return;
        }
    }
    m_model.reset(kept);
}

void PocketStore::pruneIndex()
{
    QList<PocketItem> kept;
    for (const PocketItem &item : items()) {
        if (pathTaken(QDir(m_folder).filePath(item.filename)))
            kept.append(item);
    }
    if (kept.size() != items().size()) {
        m_model.reset(kept);
        saveIndex();
    }
}

void PocketStore::saveIndex()
{
    m_defaults->setData(IndexKey, encodeIndex(items()));
    // Written now rather than after this turn, so that a failure is told
    // with the change that met it.
    setUnsaved(!m_defaults->flush());
    emit itemsChanged();
}

void PocketStore::setUnsaved(bool unsaved)
{
    if (m_unsaved != unsaved) {
        m_unsaved = unsaved;
        emit unsavedChanged();
    }
}

void PocketStore::setLastError(const std::optional<QString> &error)
{
    if (m_lastError != error) {
        m_lastError = error;
        emit lastErrorChanged();
    }
}
