#pragma once

#include "core/scheduler.h"
#include "games/arcadeengine.h"

#include <QList>
#include <QString>
#include <QVariant>
#include <QtQml/qqmlregistration.h>
#include <optional>

// One playing card. Ranks 1...13 (1 ace, 11 jack, 12 queen, 13 king), suits
// 0...3 (a Suit). The id is unique within an engine.
struct BlackjackCard {
    Q_GADGET
    QML_VALUE_TYPE(blackjackCard)
    Q_PROPERTY(qint64 id MEMBER id)
    Q_PROPERTY(qint64 rank MEMBER rank)
    Q_PROPERTY(qint64 suit MEMBER suit)
    Q_PROPERTY(int value READ value)
    Q_PROPERTY(QString label READ label)
public:
    enum class Suit { spades, hearts, diamonds, clubs };
    Q_ENUM(Suit)

    qint64 id = 0;
    qint64 rank = 1;
    qint64 suit = 0;

    // Aces count 1, faces 10.
    int value() const { return int(qMin<qint64>(rank, 10)); }
    // "A", "2"..."10", "J", "Q", "K".
    QString label() const;
    friend bool operator==(const BlackjackCard &, const BlackjackCard &) = default;
};

struct BlackjackHand {
    Q_GADGET
    QML_VALUE_TYPE(blackjackHand)
    Q_PROPERTY(QVariantList cards READ cardList)
    Q_PROPERTY(qint64 bet MEMBER bet)
    Q_PROPERTY(bool stood MEMBER stood)
    Q_PROPERTY(bool doubled MEMBER doubled)
    Q_PROPERTY(qint64 bank MEMBER bank)
    Q_PROPERTY(bool canDouble READ canDouble)
public:
    QList<BlackjackCard> cards;
    qint64 bet = 0;      // the player's stake on this hand
    bool stood = false;
    bool doubled = false;
    qint64 bank = 0;     // the player's chips not on the table

    QVariantList cardList() const;
    // Doubling down: on the first two cards, once, with a stake the bank
    // can match.
    bool canDouble() const { return cards.size() == 2 && bet >= 1 && bank >= bet && !doubled; }
    friend bool operator==(const BlackjackHand &, const BlackjackHand &) = default;
};

// Blackjack against the dealer with chips from a bank the player buys into.
// The dealer's turn is a paced task on the scheduler; the best bank ever
// reached is kept under "pavlet.blackjackBest".
class BlackjackEngine : public ArcadeEngine {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the island")
    Q_PROPERTY(Phase phase READ phase NOTIFY phaseChanged)
    Q_PROPERTY(qint64 buyIn READ buyIn WRITE setBuyIn NOTIFY buyInChanged)
    Q_PROPERTY(qint64 bet READ bet WRITE setBet NOTIFY betChanged)
    Q_PROPERTY(BlackjackHand player READ player NOTIFY playerChanged)
    Q_PROPERTY(BlackjackHand dealer READ dealer NOTIFY dealerChanged)
    Q_PROPERTY(bool hideHole READ hideHole NOTIFY hideHoleChanged)
    // An Outcome, or null while no hand is settled.
    Q_PROPERTY(QVariant outcome READ outcomeValue NOTIFY outcomeChanged)
    Q_PROPERTY(qint64 payout READ payout NOTIFY payoutChanged)
    Q_PROPERTY(qint64 best READ best NOTIFY bestChanged)
    Q_PROPERTY(QString message READ message NOTIFY messageChanged)
    Q_PROPERTY(QList<qint64> betOptions READ betOptions NOTIFY playerChanged)
    Q_PROPERTY(QList<qint64> buyIns READ buyIns CONSTANT)
    Q_PROPERTY(QList<qint64> betChips READ betChips CONSTANT)
public:
    enum class Phase { howto, betting, playing, waiting, settle, broke };
    Q_ENUM(Phase)
    enum class Outcome { win, lose, push, blackjack, bust };
    Q_ENUM(Outcome)

    static constexpr int ShoeDecks = 4;
    static constexpr int RebuildBelow = 18;
    static constexpr int DealerRevealMs = 320;
    static constexpr int DealerDrawMs = 280;

    explicit BlackjackEngine(UserDefaults *defaults, Clock *clock,
                             Scheduler *scheduler, Random *random = nullptr,
                             QObject *parent = nullptr);

    Phase phase() const { return m_phase; }
    qint64 buyIn() const { return m_buyIn; }
    void setBuyIn(qint64 amount);
    qint64 bet() const { return m_bet; }
    void setBet(qint64 bet);
    const BlackjackHand &player() const { return m_player; }
    const BlackjackHand &dealer() const { return m_dealer; }
    bool hideHole() const { return m_hideHole; }
    std::optional<Outcome> outcome() const { return m_outcome; }
    QVariant outcomeValue() const;
    qint64 payout() const { return m_payout; }
    qint64 best() const { return m_best; }
    QString message() const { return m_message; }
    QList<qint64> betOptions() const;
    static QList<qint64> buyIns() { return {100, 250, 500, 1000}; }
    static QList<qint64> betChips() { return {5, 10, 25, 50, 100, 250}; }

    Q_INVOKABLE void reset() override;
    Q_INVOKABLE void startBuyIn(qint64 amount);
    // A bet chip: sets the bet only while betting and within the bank.
    Q_INVOKABLE void chooseBet(qint64 value);
    Q_INVOKABLE void deal();
    Q_INVOKABLE void hit();
    Q_INVOKABLE void stand();
    Q_INVOKABLE void doubleDown();
    Q_INVOKABLE void nextHand();
    Q_INVOKABLE void stop() override;
    // The game's keys while it is on screen.
    bool handleKey(const KeyInput &key) override;
    // Cancels a running dealer turn without touching the phase (the view when
    // it leaves the screen, and the island when it stops every game).
    Q_INVOKABLE void cancelPlayTask();
    // Leaving the game only cancels the dealer turn; the table stays as it
    // is (stop() would bring back the buy-in card).
    void leave() override { cancelPlayTask(); }
    bool isPlaying() const { return m_playTask.isActive(); }

    // Best total: aces count 1, then 10 is added per ace while it stays <= 21.
    static int total(const QList<BlackjackCard> &cards);
    // The same for the views, which hold a hand's cards as a list of variants.
    Q_INVOKABLE int total(const QVariantList &cards) const;
    static bool isNatural(const QList<BlackjackCard> &cards);

    struct Resolution {
        Outcome outcome;
        qint64 returned; // chips paid back into the bank, stake included
        friend bool operator==(const Resolution &, const Resolution &) = default;
    };
    // Settles a player's hand against a dealer total (0 for a dealer bust).
    static Resolution resolve(const BlackjackHand &hand, int dealerTotal, bool dealerBlackjack);

    // The cards left to draw; draws come from the end. Tests rig hands with it.
    const QList<BlackjackCard> &shoe() const { return m_shoe; }
    void setShoe(const QList<BlackjackCard> &shoe) { m_shoe = shoe; }

signals:
    void phaseChanged();
    void buyInChanged();
    void betChanged();
    void playerChanged();
    void dealerChanged();
    void hideHoleChanged();
    void outcomeChanged();
    void payoutChanged();
    void bestChanged();
    void messageChanged();

private:
    void setPhase(Phase phase);
    void setPlayer(const BlackjackHand &hand);
    void setDealer(const BlackjackHand &hand);
    void setHideHole(bool hide);
    void setOutcome(std::optional<Outcome> outcome);
    void setPayout(qint64 payout);
    void setMessage(const QString &message);

    void recordBest();
    void rebuildShoe();
    BlackjackCard drawCard();
    void clearRound();
    bool canAct() const;
    void startDealerTurn();
    void dealerStep();
    void settle();

    Phase m_phase = Phase::howto;
    qint64 m_buyIn = 250;
    qint64 m_bet = 25;
    BlackjackHand m_player;
    BlackjackHand m_dealer;
    bool m_hideHole = true;
    std::optional<Outcome> m_outcome;
    qint64 m_payout = 0;
    qint64 m_best = 0;
    QString m_message;

    QList<BlackjackCard> m_shoe;
    qint64 m_nextID = 0;
    TaskHandle m_playTask;
};
