#pragma once

#include <QHash>
#include <QString>

// What the index keeps for one recording.
struct StoredMeta {
    QString name;
    QString note;
    bool favorite = false;
    bool operator==(const StoredMeta &) const = default;
};

// The memo folder's "meta.json": {"items": {file: {"name", "note", "favorite"}}}.
namespace VoiceMemoIndex {
inline const QString FileName = QStringLiteral("meta.json");

// The entries that are whole; an entry lacking a key or with a value of the
// wrong type is skipped alone. Empty when the file is missing or unreadable.
// A file that is not whole JSON (cut off, say) sets damaged and gives the
// entries that end before the damage.
QHash<QString, StoredMeta> read(const QString &path, bool *damaged = nullptr);
// Replaces the file as a whole, compactly. False when it could not be written.
bool write(const QString &path, const QHash<QString, StoredMeta> &items);
} // namespace VoiceMemoIndex
