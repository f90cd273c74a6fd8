#include "games/gamecards.h"

#include <QMetaProperty>

QString GameCards::recordText(qint64 best, const QString &bestText)
{
    if (!bestText.isEmpty())
        return bestText;
    return best >= 1 ? QString::number(best) : QString();
}

GameCards::GameCards(QObject *parent)
    : QAbstractListModel(parent)
{
    const qsizetype n = table().size();
    m_engines.resize(n);
    m_records.resize(n);
    m_connections.resize(n);
}

int GameCards::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(table().size());
}

QVariant GameCards::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= table().size())
        return {};
    const Card &card = table().at(index.row());
    switch (role) {
    case GameRole: return card.game;
    case TitleRole: return card.title;
    case DetailRole: return card.detail;
    case AccentNameRole: return card.accentName;
    case ResolvesAccentRole: return card.resolvesAccent;
    case BestLabelRole: return card.bestLabel;
    case RecordTextRole: return m_records.at(index.row());
    case MarkRole: return QString::fromLatin1(card.mark);
    default: return {};
    }
}

QHash<int, QByteArray> GameCards::roleNames() const
{
    return {{GameRole, "game"},           {TitleRole, "title"},
            {DetailRole, "detail"},       {AccentNameRole, "accentName"},
            {ResolvesAccentRole, "resolvesAccent"}, {BestLabelRole, "bestLabel"},
            {RecordTextRole, "recordText"}, {MarkRole, "mark"}};
}

void GameCards::setEngine(int game, QObject *engine)
{
    const int row = game - 1;
    if (row < 0 || row >= table().size() || m_engines.at(row) == engine)
        return;
    QObject::disconnect(m_connections[row]);
    m_engines[row] = engine;
    if (engine) {
        const QMetaObject *meta = engine->metaObject();
        const QMetaProperty property = meta->property(meta->indexOfProperty(table().at(row).recordProperty));
        if (property.hasNotifySignal()) {
            // A record signal carries no arguments; the row is read again.
            m_connections[row] = connect(engine, property.notifySignal(), this,
                                         metaObject()->method(metaObject()->indexOfSlot("onRecordChanged()")));
        }
    }
    refresh(row);
    emit enginesChanged();
}

QQmlListProperty<QObject> GameCards::engineList()
{
    // Appending fills the next card without an engine; clearing empties all.
    auto append = [](QQmlListProperty<QObject> *list, QObject *engine) {
        auto *cards = static_cast<GameCards *>(list->object);
        const qsizetype row = cards->m_engines.indexOf(QPointer<QObject>());
        if (row >= 0)
            cards->setEngine(int(row) + 1, engine);
    };
    auto count = [](QQmlListProperty<QObject> *list) {
        return static_cast<GameCards *>(list->object)->m_engines.size();
    };
    auto at = [](QQmlListProperty<QObject> *list, qsizetype i) -> QObject * {
        return static_cast<GameCards *>(list->object)->m_engines.at(i);
    };
    auto clear = [](QQmlListProperty<QObject> *list) {
        static_cast<GameCards *>(list->object)->setEngines({});
    };
    return QQmlListProperty<QObject>(this, nullptr, append, count, at, clear);
}

void GameCards::onRecordChanged()
{
    const int row = int(m_engines.indexOf(QPointer<QObject>(sender())));
    if (row >= 0)
        refresh(row);
}

QString GameCards::readRecord(int row) const
{
    QObject *engine = m_engines.at(row);
    if (!engine)
        return QString();
    const Card &card = table().at(row);
    const QVariant value = engine->property(card.recordProperty);
    if (card.recordIsText)
        return recordText(0, value.toString());
    return recordText(value.isNull() ? 0 : value.toLongLong(), QString());
}

void GameCards::refresh(int row)
{
    const QString text = readRecord(row);
    if (m_records.at(row) == text)
        return;
    m_records[row] = text;
    const QModelIndex at = index(row);
    emit dataChanged(at, at, {RecordTextRole});
}

void GameCards::setEngines(const QList<QObject *> &engines)
{
    for (qsizetype row = 0; row < table().size(); ++row)
        setEngine(int(row + 1), row < engines.size() ? engines.at(row) : nullptr);
}

QList<QObject *> GameCards::engines() const
{
    QList<QObject *> list;
    list.reserve(m_engines.size());
    for (const QPointer<QObject> &engine : m_engines)
        list.append(engine.data());
    return list;
}
