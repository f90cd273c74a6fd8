#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QObject>
#include <QString>
#include <QVariant>
#include <QVariantMap>

// The user-defaults store: typed values under string keys, kept in one JSON
// file in the user's config folder.
//
// - Bool, integer, Double, String and data values keep their type on disk.
// - A missing key reads as the caller's fallback; reading never writes.
// - Writing the value a key already holds changes nothing: no write to disk,
//   no change notice.
// - The changes of one turn of the event loop reach the disk together, in
//   one atomic write, right after that turn (or at flush() or destruction).
// - A file that cannot be parsed reads as empty and stays untouched until
//   the next write, which first keeps a copy of it; when no copy can be
//   made, the damaged file is not replaced.
// - What this version does not understand (an entry of a type it does not
//   know, a key beside "values") reads as nothing but is written back as it
//   was, until this version writes or removes that key.
class UserDefaults : public QObject {
    Q_OBJECT
public:
    enum class Type { None, Bool, Int, Double, String, Data };

    // path: the store file; empty means the default place under the XDG
    // config folder. damagedCopyDir: where the copy of a damaged file goes;
    // empty means beside the store.
    explicit UserDefaults(const QString &path = QString(), QObject *parent = nullptr,
                          const QString &damagedCopyDir = QString());
    ~UserDefaults() override;

    static QString defaultPath();
    QString path() const { return m_path; }

    bool contains(const QString &key) const { return m_values.contains(key); }
    Type typeOf(const QString &key) const;
    QVariant value(const QString &key) const { return m_values.value(key); }

    bool boolValue(const QString &key, bool fallback = false) const;
    qint64 intValue(const QString &key, qint64 fallback = 0) const;
    double doubleValue(const QString &key, double fallback = 0.0) const;
    QString stringValue(const QString &key, const QString &fallback = QString()) const;
    QByteArray dataValue(const QString &key, const QByteArray &fallback = QByteArray()) const;

    void setBool(const QString &key, bool value);
    void setInt(const QString &key, qint64 value);
    void setDouble(const QString &key, double value);
    void setString(const QString &key, const QString &value);
    void setData(const QString &key, const QByteArray &value);
    void remove(const QString &key);

    // Writes pending changes now. False when they could not be written.
    bool flush();
    // Whether the last write reached the disk.
    bool lastWriteSucceeded() const { return m_lastWriteOk; }
    // Where the copy of a damaged file was kept; empty while none was made.
    QString damagedCopyPath() const { return m_damagedCopyPath; }

signals:
    void changed(const QString &key);
    // lastWriteSucceeded() changed.
    void writeStateChanged();
    // A damaged file was copied aside to damagedCopyPath().
    void damagedCopyKept();

private:
    void load();
    void put(const QString &key, const QVariant &value);
    void scheduleSave();
    // Copies the damaged file under a name of its own before the first write
    // replaces it. False when no copy could be made.
    bool keepDamagedCopy();
    bool save();
    void setLastWriteOk(bool ok);

    QString m_path;
    QString m_damagedCopyDir;
    QString m_damagedCopyPath;
    QVariantMap m_values;
    // Entries read but not understood, and the file's other top-level keys,
    // as they were on disk.
    QJsonObject m_foreignValues;
    QJsonObject m_foreignRoot;
    bool m_dirty = false;
    bool m_saveQueued = false;
    bool m_unreadableOnDisk = false;
    bool m_lastWriteOk = true;
};

// The store's Bool for key, or fallback when nothing is stored.
bool defaultsBool(const UserDefaults &defaults, const QString &key, bool fallback);

// Copies a file that could not be read as "<name>.damaged-<UTC time>" into
// copyDir (beside it when empty), before anything is written over it. True
// when the file is missing or was copied; keptAt then names the copy, if one
// was made.
bool keepDamagedFile(const QString &path, const QString &copyDir = QString(), QString *keptAt = nullptr);
