#include "media/voicememoindex.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace VoiceMemoIndex {

QHash<QString, StoredMeta> read(const QString &path)
{
    QHash<QString, StoredMeta> items;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return items;
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll());
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
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(json);
    return file.commit();
}

} // namespace VoiceMemoIndex
