#pragma once

#include "tools/toolfolders.h"

#include <QAbstractListModel>
#include <QDir>
#include <QDateTime>
#include <QFileSystemWatcher>
#include <QList>
#include <QSet>
#include <QObject>
#include <QString>
#include <QUrl>
#include <QUuid>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>
#include <atomic>
#include <memory>
#include <optional>

class Clock;
class Executor;
class UserDefaults;
namespace platform {
class IClipboard;
}

// One held file or folder.
struct PocketItem {
    QUuid id;
    // The source's last path component.
    QString name;
    // The copy's name inside the pocket folder.
    QString filename;
    bool isDirectory = false;
    qint64 byteCount = 0;
    QDateTime addedAt;

    bool operator==(const PocketItem &) const = default;
    // The upper-case canonical form, "8-4-4-4-12".
    QString idText() const { return id.toString(QUuid::WithoutBraces).toUpper(); }
};

// The held items for a view, newest batch first.
class PocketItemModel : public QAbstractListModel {
    Q_OBJECT
    QML_ANONYMOUS
    Q_PROPERTY(int count READ count NOTIFY countChanged)
public:
    // MissingRole: the copy is no longer on disk (deleted behind the
    // pocket's back).
    enum Role {
        IdRole = Qt::UserRole,
        NameRole,
        FilenameRole,
        IsDirectoryRole,
        ByteCountRole,
        AddedAtRole,
        PathRole,
        MissingRole
    };

    PocketItemModel(const QString &folder, QObject *parent = nullptr);

    int count() const { return int(m_items.size()); }
    int rowCount(const QModelIndex &parent = QModelIndex()) const override { return parent.isValid() ? 0 : count(); }
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    const QList<PocketItem> &items() const { return m_items; }
    // Batches of more than this many rows (more than the pocket's list shows
    // at once) come as a new list rather than as inserted rows.
    static constexpr int bigBatch = 5;
    void prepend(const QList<PocketItem> &batch);
    void removeId(const QUuid &id);
    void reset(const QList<PocketItem> &items);
    // Looks at which copies are still on disk; done by itself whenever the
    // pocket folder changes.
    void refreshMissing();

signals:
    void countChanged();

private:
    QString path(const PocketItem &item) const;

    QString m_folder;
    QList<PocketItem> m_items;
    QFileSystemWatcher m_watcher;
    QSet<QUuid> m_missing;
};

// The pocket shelf: copies of dropped files and folders kept in a private
// folder and listed newest first. The list survives restarts through an
// index in the user defaults. Copies are made, and the clipboard's image
// and text written, away from the main thread, one drop after another;
// activity says what is under way.
class PocketStore : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("The island owns the pocket")
    Q_PROPERTY(PocketItemModel *items READ model CONSTANT)
    Q_PROPERTY(QString lastError READ lastErrorText NOTIFY lastErrorChanged)
    Q_PROPERTY(QString folder READ folder CONSTANT)
    // The last change of the list could not be saved.
    Q_PROPERTY(bool unsaved READ unsaved NOTIFY unsavedChanged)
    // What the pocket is doing ("Holding notes.txt…"); empty when idle.
    Q_PROPERTY(QString activity READ activity NOTIFY activityChanged)
public:
    static inline const QString IndexKey = QStringLiteral("pavlet.pocket.index");
    static constexpr double DropFilterSeconds = 0.35;
    // Seconds between 1970-01-01 and 2001-01-01, the index's epoch.
    static constexpr qint64 ReferenceEpochSeconds = 978307200;

    // folder: where the copies live; tempFolder: where clipboard snapshots
    // are written; executor: where copies are made (the shared pool when
    // none is given).
    PocketStore(UserDefaults *defaults, const Clock *clock, platform::IClipboard *clipboard,
                const QString &folder = ToolFolders::pocket(), const QString &tempFolder = QDir::tempPath(),
                Executor *executor = nullptr, QObject *parent = nullptr);
    ~PocketStore() override;

    const QList<PocketItem> &items() const { return m_model.items(); }
    PocketItemModel *model() { return &m_model; }
    std::optional<QString> lastError() const { return m_lastError; }
    QString lastErrorText() const { return m_lastError.value_or(QString()); }
    QString folder() const { return m_folder; }
    double lastIngest() const { return m_lastIngest; }
    bool unsaved() const { return m_unsaved; }
    QString activity() const;

    // Holds copies of the local files and folders at urls, whatever bytes
    // their names hold, once the drops before are through. When they are
    // made, lastError names those that were not held ("Couldn't hold a.txt,
    // b.txt"), else is cleared. True when every one was held, or, while the
    // copies are still under way, when every address names something.
    Q_INVOKABLE bool ingest(const QList<QUrl> &urls);
    // Holds what a drop delivered: addresses, address texts or the bytes of
    // an address; a drop within 0.35 s of the last accepted one is ignored.
    // True when the drop gave files and every one was held.
    Q_INVOKABLE bool ingestDropped(const QVariantList &items);
    // Holds the clipboard's files, else its image, else its text; while the
    // clipboard is still being read, once it is in (and then true). True
    // when there was something to hold; an image that turns out unreadable
    // gives way to the text.
    Q_INVOKABLE bool holdClipboard();
    Q_INVOKABLE void remove(const QString &id);
    Q_INVOKABLE void clear();

    // The name a copy of name gets: name itself, else "base 2.ext", "base 3.ext", …
    QString uniqueName(const QString &name) const;
    // The index's JSON for items, and back; none when unreadable.
    static QByteArray encodeIndex(const QList<PocketItem> &items);
    static std::optional<QList<PocketItem>> decodeIndex(const QByteArray &data);

signals:
    void itemsChanged();
    void lastErrorChanged();
    void unsavedChanged();
    void activityChanged();

private:
    struct Drop {
        quint64 ticket = 0;
        QList<QUrl> urls;
    };

    bool holdRead();
    void startNext();
    void finishDrop(quint64 ticket, const QList<PocketItem> &batch, const QStringList &missed);
    void updateActivity();
    void deleteCopy(const PocketItem &item);
    void loadIndex();
    void pruneIndex();
    void saveIndex();
    void setLastError(const std::optional<QString> &error);
    void setUnsaved(bool unsaved);

    UserDefaults *m_defaults;
    const Clock *m_clock;
    platform::IClipboard *m_clipboard;
    QString m_folder;
    QString m_temp;
    PocketItemModel m_model;
    std::optional<QString> m_lastError;
    double m_lastIngest = 0;
    bool m_holdWaiting = false;
    bool m_unsaved = false;
    Executor *m_executor;
    // Set when the store goes: a copy under way stops.
    std::shared_ptr<std::atomic<bool>> m_stop;
    QList<Drop> m_queue;
    // The drop being copied: its one name, or empty for several.
    std::optional<QString> m_copying;
    int m_copyingCount = 0;
    int m_snapshots = 0; // clipboard snapshots being written
    quint64 m_tickets = 0;
    quint64 m_finished = 0;
    bool m_finishedAllHeld = true;
    QString m_shownActivity;
};
