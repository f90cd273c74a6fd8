#include "games/gamecards.h"

#include "games/blackjackengine.h"
#include "games/action/blocksengine.h"
#include "games/action/cpsengine.h"
#include "games/action/dinoengine.h"
#include "games/action/flapengine.h"
#include "games/patternengine.h"
#include "games/action/pongengine.h"
#include "games/action/reflexengine.h"
#include "games/action/snakeengine.h"
#include "games/stack4engine.h"
#include "games/action/stackengine.h"
#include "games/toeengine.h"
#include "games/wordleengine.h"

#include <QMetaProperty>

const QList<GameCards::Card> &GameCards::table()
{
    static const QList<Card> cards = {
        {1, QStringLiteral("Pavlet Run"), QStringLiteral("Leap the little notches"), QStringLiteral("yellow"), true, QStringLiteral("BEST"), "best", false},
        {2, QStringLiteral("Pavlet Flap"), QStringLiteral("Tap to stay in the air"), QStringLiteral("sky"), true, QStringLiteral("BEST"), "best", false},
        {3, QStringLiteral("Five Letter"), QStringLiteral("Five letters, infinite rounds"), QStringLiteral("green"), true, QStringLiteral("STREAK"), "streak", false},
        {4, QStringLiteral("Pavlet Pong"), QStringLiteral("Player vs NPC"), QStringLiteral("yellow"), true, QStringLiteral("WINS"), "wins", false},
        {5, QStringLiteral("Pavlet Blocks"), QStringLiteral("Drop, rotate, clear rows"), QStringLiteral("amber"), true, QStringLiteral("BEST"), "best", false},
        {6, QStringLiteral("Pavlet Stack"), QStringLiteral("Drop the slab. Cut the overhang."), QStringLiteral("yellow"), true, QStringLiteral("BEST"), "best", false},
        {7, QStringLiteral("Pavlet Reflex"), QStringLiteral("Wait, then tap GO"), QStringLiteral("yellow"), true, QStringLiteral("MS"), "bestMS", false},
        {8, QStringLiteral("Pavlet Tic-Tac-Toe"), QStringLiteral("Three in a row. Local or NPC"), QStringLiteral("yellow"), true, QStringLiteral("WINS"), "wins", false},
        {9, QStringLiteral("Pavlet CPS"), QStringLiteral("Click as fast as you can"), QStringLiteral("yellow"), true, QStringLiteral("CPS"), "bestSummary", true},
        {10, QStringLiteral("Pavlet Snake"), QStringLiteral("Eat apples. Don't hit a wall."), QStringLiteral("coral"), false, QStringLiteral("BEST"), "best", false},
        {11, QStringLiteral("Pavlet Color Patterns"), QStringLiteral("Watch the colors. Tap them back."), QStringLiteral("sky"), false, QStringLiteral("ROUND"), "best", false},
        {12, QStringLiteral("Pavlet Blackjack"), QStringLiteral("Buy in. Beat the dealer."), QStringLiteral("yellow"), true, QStringLiteral("BANK"), "best", false},
        {13, QStringLiteral("Pavlet Stack4"), QStringLiteral("Connect four. Red vs blue."), QStringLiteral("blue"), false, QStringLiteral("WINS"), "wins", false},
    };
    return cards;
}

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
    default: return {};
    }
}

QHash<int, QByteArray> GameCards::roleNames() const
{
    return {{GameRole, "game"},           {TitleRole, "title"},
            {DetailRole, "detail"},       {AccentNameRole, "accentName"},
            {ResolvesAccentRole, "resolvesAccent"}, {BestLabelRole, "bestLabel"},
            {RecordTextRole, "recordText"}};
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

void GameCards::setDino(DinoEngine *e) { setEngine(1, e); }
void GameCards::setFlap(FlapEngine *e) { setEngine(2, e); }
void GameCards::setWordle(WordleEngine *e) { setEngine(3, e); }
void GameCards::setPong(PongEngine *e) { setEngine(4, e); }
void GameCards::setBlocks(BlocksEngine *e) { setEngine(5, e); }
void GameCards::setStack(StackEngine *e) { setEngine(6, e); }
void GameCards::setReflex(ReflexEngine *e) { setEngine(7, e); }
void GameCards::setToe(ToeEngine *e) { setEngine(8, e); }
void GameCards::setCps(CPSEngine *e) { setEngine(9, e); }
void GameCards::setSnake(SnakeEngine *e) { setEngine(10, e); }
void GameCards::setPattern(PatternEngine *e) { setEngine(11, e); }
void GameCards::setBlackjack(BlackjackEngine *e) { setEngine(12, e); }
void GameCards::setStack4(Stack4Engine *e) { setEngine(13, e); }
DinoEngine *GameCards::dino() const { return qobject_cast<DinoEngine *>(m_engines.at(0).data()); }
FlapEngine *GameCards::flap() const { return qobject_cast<FlapEngine *>(m_engines.at(1).data()); }
WordleEngine *GameCards::wordle() const { return qobject_cast<WordleEngine *>(m_engines.at(2).data()); }
PongEngine *GameCards::pong() const { return qobject_cast<PongEngine *>(m_engines.at(3).data()); }
BlocksEngine *GameCards::blocks() const { return qobject_cast<BlocksEngine *>(m_engines.at(4).data()); }
StackEngine *GameCards::stack() const { return qobject_cast<StackEngine *>(m_engines.at(5).data()); }
ReflexEngine *GameCards::reflex() const { return qobject_cast<ReflexEngine *>(m_engines.at(6).data()); }
ToeEngine *GameCards::toe() const { return qobject_cast<ToeEngine *>(m_engines.at(7).data()); }
CPSEngine *GameCards::cps() const { return qobject_cast<CPSEngine *>(m_engines.at(8).data()); }
SnakeEngine *GameCards::snake() const { return qobject_cast<SnakeEngine *>(m_engines.at(9).data()); }
PatternEngine *GameCards::pattern() const { return qobject_cast<PatternEngine *>(m_engines.at(10).data()); }
BlackjackEngine *GameCards::blackjack() const { return qobject_cast<BlackjackEngine *>(m_engines.at(11).data()); }
Stack4Engine *GameCards::stack4() const { return qobject_cast<Stack4Engine *>(m_engines.at(12).data()); }
