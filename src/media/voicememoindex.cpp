#include "media/voicememoindex.h"

#include "core/atomicfile.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>

namespace VoiceMemoIndex {

namespace {

QHash<QString, StoredMeta> entriesOf(const QJsonDocument &doc)
{
    QHash<QString, StoredMeta> items;
    const QJsonValue all = doc.object().value(QStringLiteral("items"));
    if (!all.isObject())
        return items;
    const QJsonObject object = all.toObject();
    for (auto it = object.begin(); it != object.end(); ++it) {
        const QJsonObject entry = it.value().toObject();
        const QJsonValue name = entry.value(QStringLiteral("name"));
        const QJsonValue note = entry.value(QStringLiteral("note"));
        const QJsonValue favorite = entry.value(QStringLiteral("favorite"));
        if (!name.isString() || !note.isString() || !favorite.isBool())
            continue;
        items.insert(it.key(), StoredMeta{name.toString(), note.toString(), favorite.toBool()});
    }
    return items;
}

// The whole entries of a file cut off (or spoilt) part way: the text up to
// the last entry that ends before the damage, closed again.
QHash<QString, StoredMeta> salvage(const QByteArray &text, qsizetype damageAt)
{
    constexpr int MaxTries = 400;
    qsizetype end = std::min(damageAt, text.size());
    for (int tries = 0; tries < MaxTries; ++tries) {
        end = text.lastIndexOf('}', end - 1);
        if (end < 0)
            break;
        const QJsonDocument doc = QJsonDocument::fromJson(text.left(end + 1) + "}}");
        if (doc.isObject())
            return entriesOf(doc);
    }
    return {};
}

} // namespace

QHash<QString, StoredMeta> read(const QString &path, bool *damaged)
{
    if (damaged)
        *damaged = false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray text = file.readAll();
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(text, &error);
    if (error.error == QJsonParseError::NoError && doc.isObject())
        return entriesOf(doc);
    if (damaged)
        *damaged = true;
    return salvage(text, error.error == QJsonParseError::NoError ? text.size() : error.offset);
}

bool write(const QString &path, const QHash<QString, StoredMeta> &items)
{
    QJsonObject object;
    for (auto it = items.cbegin(); it != items.cend(); ++it) {
        object.insert(it.key(), QJsonObject{{QStringLiteral("name"), it->name},
                                            {QStringLiteral("note"), it->note},
                                            {QStringLiteral("favorite"), it->favorite}});
    }
    const QByteArray json =
        QJsonDocument(QJsonObject{{QStringLiteral("items"), object}}).toJson(QJsonDocument::Compact);
    return AtomicFile::write(path, json);
}

} // namespace VoiceMemoIndex
