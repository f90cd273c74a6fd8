#pragma once

#include <QAbstractListModel>
#include <QList>
#include <QPointer>
#include <QString>
#include <QtQml/qqmlregistration.h>

class BlackjackEngine;
class BlocksEngine;
class CPSEngine;
class DinoEngine;
class FlapEngine;
class PatternEngine;
class PongEngine;
class ReflexEngine;
class SnakeEngine;
class Stack4Engine;
class StackEngine;
class ToeEngine;
class WordleEngine;

// The arcade's thirteen game cards, in page order (page 1 is the first game;
// page 0 is the arcade itself). Titles, details, record captions and accent
// colours are fixed; each card's record follows its engine's published field
// and is updated in place.
class GameCards : public QAbstractListModel {
    Q_OBJECT
    QML_ELEMENT
    Q_MOC_INCLUDE("games/blackjackengine.h")
    Q_MOC_INCLUDE("games/action/blocksengine.h")
    Q_MOC_INCLUDE("games/action/cpsengine.h")
    Q_MOC_INCLUDE("games/action/dinoengine.h")
    Q_MOC_INCLUDE("games/action/flapengine.h")
    Q_MOC_INCLUDE("games/patternengine.h")
    Q_MOC_INCLUDE("games/action/pongengine.h")
    Q_MOC_INCLUDE("games/action/reflexengine.h")
    Q_MOC_INCLUDE("games/action/snakeengine.h")
    Q_MOC_INCLUDE("games/stack4engine.h")
    Q_MOC_INCLUDE("games/action/stackengine.h")
    Q_MOC_INCLUDE("games/toeengine.h")
    Q_MOC_INCLUDE("games/wordleengine.h")
    Q_PROPERTY(DinoEngine *dino READ dino WRITE setDino NOTIFY enginesChanged)
    Q_PROPERTY(FlapEngine *flap READ flap WRITE setFlap NOTIFY enginesChanged)
    Q_PROPERTY(WordleEngine *wordle READ wordle WRITE setWordle NOTIFY enginesChanged)
    Q_PROPERTY(PongEngine *pong READ pong WRITE setPong NOTIFY enginesChanged)
    Q_PROPERTY(BlocksEngine *blocks READ blocks WRITE setBlocks NOTIFY enginesChanged)
    Q_PROPERTY(StackEngine *stack READ stack WRITE setStack NOTIFY enginesChanged)
    Q_PROPERTY(ReflexEngine *reflex READ reflex WRITE setReflex NOTIFY enginesChanged)
    Q_PROPERTY(ToeEngine *toe READ toe WRITE setToe NOTIFY enginesChanged)
    Q_PROPERTY(CPSEngine *cps READ cps WRITE setCps NOTIFY enginesChanged)
    Q_PROPERTY(SnakeEngine *snake READ snake WRITE setSnake NOTIFY enginesChanged)
    Q_PROPERTY(PatternEngine *pattern READ pattern WRITE setPattern NOTIFY enginesChanged)
    Q_PROPERTY(BlackjackEngine *blackjack READ blackjack WRITE setBlackjack NOTIFY enginesChanged)
    Q_PROPERTY(Stack4Engine *stack4 READ stack4 WRITE setStack4 NOTIFY enginesChanged)
public:
    enum Role {
        GameRole = Qt::UserRole + 1, // the page the card opens
        TitleRole,
        DetailRole,
        // The palette colour of the record column ("yellow", "coral", ...).
        AccentNameRole,
        // True when the colour passes through the custom accent.
        ResolvesAccentRole,
        // The record's caption, in capitals as shown.
        BestLabelRole,
        // The record as shown; empty when the card shows no record column.
        RecordTextRole,
    };

    struct Card {
        int game;
        QString title;
        QString detail;
        QString accentName;
        bool resolvesAccent;
        QString bestLabel;
        // The engine's property that holds the record.
        const char *recordProperty;
        bool recordIsText; // shown as text (the clicks-per-second summary)
    };
    static const QList<Card> &table();

    // What a card shows in its record column: the text when there is one,
    // else the number when it is at least 1, else nothing (no column).
    static QString recordText(qint64 best, const QString &bestText);

    explicit GameCards(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    // The engine of the card for page game.
    void setEngine(int game, QObject *engine);

    void setDino(DinoEngine *e);
    DinoEngine *dino() const;
    void setFlap(FlapEngine *e);
    FlapEngine *flap() const;
    void setWordle(WordleEngine *e);
    WordleEngine *wordle() const;
    void setPong(PongEngine *e);
    PongEngine *pong() const;
    void setBlocks(BlocksEngine *e);
    BlocksEngine *blocks() const;
    void setStack(StackEngine *e);
    StackEngine *stack() const;
    void setReflex(ReflexEngine *e);
    ReflexEngine *reflex() const;
    void setToe(ToeEngine *e);
    ToeEngine *toe() const;
    void setCps(CPSEngine *e);
    CPSEngine *cps() const;
    void setSnake(SnakeEngine *e);
    SnakeEngine *snake() const;
    void setPattern(PatternEngine *e);
    PatternEngine *pattern() const;
    void setBlackjack(BlackjackEngine *e);
    BlackjackEngine *blackjack() const;
    void setStack4(Stack4Engine *e);
    Stack4Engine *stack4() const;

signals:
    void enginesChanged();

private slots:
    void onRecordChanged();

private:
    QString readRecord(int row) const;
    void refresh(int row);

    QList<QPointer<QObject>> m_engines;
    QList<QString> m_records;
    QList<QMetaObject::Connection> m_connections;
};
