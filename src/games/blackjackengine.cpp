#include "games/blackjackengine.h"

#include "core/keycodes.h"
#include "core/keyinput.h"
#include "core/random.h"
#include "core/userdefaults.h"

namespace {
const QString BestKey = QStringLiteral("pavlet.blackjackBest");
const QString BrokeMessage = QStringLiteral("Bank is empty. Buy in again.");
} // namespace

QString BlackjackCard::label() const
{
    switch (rank) {
    case 1:
        return QStringLiteral("A");
    case 11:
        return QStringLiteral("J");
    case 12:
        return QStringLiteral("Q");
    case 13:
        return QStringLiteral("K");
    default:
        return QString::number(rank);
    }
}

QVariantList BlackjackHand::cardList() const
{
    QVariantList list;
    list.reserve(cards.size());
    for (const BlackjackCard &card : cards)
        list.append(QVariant::fromValue(card));
    return list;
}

BlackjackEngine::BlackjackEngine(UserDefaults *defaults, Clock *clock, Scheduler *scheduler,
                                 Random *random, QObject *parent)
    : ArcadeEngine(defaults, clock, scheduler, random, parent)
{
    m_best = readRecord(BestKey);
}

// Setters: each publishes only a real change.

void BlackjackEngine::setPhase(Phase phase)
{
    if (assign(m_phase, phase))
        emit phaseChanged();
}

void BlackjackEngine::setBuyIn(qint64 amount)
{
    if (assign(m_buyIn, amount))
        emit buyInChanged();
}

void BlackjackEngine::setBet(qint64 bet)
{
    if (assign(m_bet, bet))
        emit betChanged();
}

void BlackjackEngine::chooseBet(qint64 value)
{
    if (m_phase == Phase::betting && value >= 1 && value <= m_player.bank)
        setBet(value);
}

void BlackjackEngine::setPlayer(const BlackjackHand &hand)
{
    if (assign(m_player, hand))
        emit playerChanged();
}

void BlackjackEngine::setDealer(const BlackjackHand &hand)
{
    if (assign(m_dealer, hand))
        emit dealerChanged();
}

void BlackjackEngine::setHideHole(bool hide)
{
    if (assign(m_hideHole, hide))
        emit hideHoleChanged();
}

void BlackjackEngine::setOutcome(std::optional<Outcome> outcome)
{
    if (assign(m_outcome, outcome))
        emit outcomeChanged();
}

void BlackjackEngine::setPayout(qint64 payout)
{
    if (assign(m_payout, payout))
        emit payoutChanged();
}

void BlackjackEngine::setMessage(const QString &message)
{
    if (assign(m_message, message))
        emit messageChanged();
}

QVariant BlackjackEngine::outcomeValue() const
{
    return m_outcome ? QVariant::fromValue(*m_outcome) : QVariant::fromValue(nullptr);
}

QList<qint64> BlackjackEngine::betOptions() const
{
    QList<qint64> options;
    for (qint64 chip : betChips()) {
        if (chip <= m_player.bank)
            options.append(chip);
    }
    if (options.isEmpty() && m_player.bank >= 1)
        options.append(m_player.bank);
    return options;
}

int BlackjackEngine::total(const QList<BlackjackCard> &cards)
{
    int sum = 0;
    int aces = 0;
    for (const BlackjackCard &card : cards) {
        sum += card.value();
        if (card.rank == 1)
            ++aces;
    }
    for (int i = 0; i < aces && sum + 10 <= 21; ++i)
        sum += 10;
    return sum;
}

int BlackjackEngine::total(const QVariantList &cards) const
{
    QList<BlackjackCard> list;
    for (const QVariant &v : cards)
        list.append(v.value<BlackjackCard>());
    return total(list);
}

bool BlackjackEngine::isNatural(const QList<BlackjackCard> &cards)
{
    return cards.size() == 2 && total(cards) == 21;
}

BlackjackEngine::Resolution BlackjackEngine::resolve(const BlackjackHand &hand, int dealerTotal,
                                                     bool dealerBlackjack)
{
    const qint64 bet = hand.bet;
    const int mine = total(hand.cards);
    if (bet < 1)
        return {Outcome::lose, 0};
    if (isNatural(hand.cards))
        return dealerBlackjack ? Resolution{Outcome::push, bet}
                               : Resolution{Outcome::blackjack, bet + (3 * bet) / 2};
    if (mine > 21)
        return {Outcome::bust, 0};
    if (dealerBlackjack)
        return {Outcome::lose, 0};
    if (dealerTotal == 0)
        return {Outcome::win, 2 * bet};
    if (dealerTotal == mine)
        return {Outcome::push, bet};
    if (dealerTotal > mine)
        return {Outcome::lose, 0};
    return {Outcome::win, 2 * bet};
}

void BlackjackEngine::recordBest()
{
    if (m_player.bank > m_best) {
        m_best = m_player.bank;
        writeRecord(BestKey, m_best);
        emit bestChanged();
    }
}

void BlackjackEngine::rebuildShoe()
{
    QList<BlackjackCard> shoe;
    shoe.reserve(ShoeDecks * 52);
    for (int deck = 0; deck < ShoeDecks; ++deck) {
        for (int suit = 0; suit < 4; ++suit) {
            for (int rank = 1; rank <= 13; ++rank)
                shoe.append(BlackjackCard{m_nextID++, rank, suit});
        }
    }
    random().shuffle(shoe);
    m_shoe = shoe;
}

BlackjackCard BlackjackEngine::drawCard()
{
    if (m_shoe.size() < RebuildBelow)
        rebuildShoe();
    return m_shoe.takeLast();
}

void BlackjackEngine::clearRound()
{
    BlackjackHand player;
    player.bank = m_player.bank;
    setPlayer(player);
    setDealer(BlackjackHand());
    setHideHole(true);
    setOutcome(std::nullopt);
    setPayout(0);
    setMessage(QString());
}

void BlackjackEngine::cancelPlayTask()
{
    m_playTask.cancel();
}

void BlackjackEngine::reset()
{
    cancelPlayTask();
    setPhase(Phase::howto);
    setBuyIn(250);
    setBet(25);
    setPlayer(BlackjackHand());
    setDealer(BlackjackHand());
    setHideHole(true);
    setOutcome(std::nullopt);
    setPayout(0);
    setMessage(QString());
    m_shoe.clear();
}

void BlackjackEngine::startBuyIn(qint64 amount)
{
    cancelPlayTask();
    setBuyIn(amount);
    BlackjackHand player;
    player.bank = amount;
    setPlayer(player);
    recordBest();
    setBet(qMin<qint64>(amount, 25));
    rebuildShoe();
    clearRound();
    setPhase(Phase::betting);
}

void BlackjackEngine::deal()
{
    if (m_phase != Phase::betting || m_player.bank < 1)
        return;
    const qint64 stake = qMin(qMax<qint64>(m_bet, 1), m_player.bank);
    setBet(stake);
    clearRound();

    BlackjackHand player = m_player;
    BlackjackHand dealer;
    player.bet = stake;
    player.bank -= stake;
    player.cards.append(drawCard());
    dealer.cards.append(drawCard());
    player.cards.append(drawCard());
    dealer.cards.append(drawCard());
    setPlayer(player);
    setDealer(dealer);
    setHideHole(true);

    if (isNatural(m_dealer.cards)) {
        setHideHole(false);
        settle();
    } else if (isNatural(m_player.cards)) {
        player.stood = true;
        setPlayer(player);
        startDealerTurn();
    } else {
        setPhase(Phase::playing);
    }
}

bool BlackjackEngine::canAct() const
{
    return m_phase == Phase::playing && !m_player.stood && total(m_player.cards) < 22
           && !isNatural(m_player.cards);
}

void BlackjackEngine::hit()
{
    if (!canAct())
        return;
    BlackjackHand player = m_player;
    player.cards.append(drawCard());
    const bool done = total(player.cards) >= 21;
    player.stood = done;
    setPlayer(player);
    if (done)
        startDealerTurn();
}

void BlackjackEngine::stand()
{
    if (!canAct())
        return;
    BlackjackHand player = m_player;
    player.stood = true;
    setPlayer(player);
    startDealerTurn();
}

void BlackjackEngine::doubleDown()
{
    if (m_phase != Phase::playing || !m_player.canDouble())
        return;
    BlackjackHand player = m_player;
    player.bank -= player.bet;
    player.bet *= 2;
    player.doubled = true;
    player.cards.append(drawCard());
    player.stood = true;
    setPlayer(player);
    startDealerTurn();
}

void BlackjackEngine::startDealerTurn()
{
    setPhase(Phase::waiting);
    cancelPlayTask();
    // The hole card turns over, and after a pause the dealer plays.
    setHideHole(false);
    m_playTask = scheduler()->after(DealerRevealMs, [this] { dealerStep(); });
}

void BlackjackEngine::dealerStep()
{
    // The dealer draws below 17 and stands on every 17, soft 17 included.
    if (total(m_dealer.cards) >= 17) {
        BlackjackHand dealer = m_dealer;
        dealer.stood = true;
        setDealer(dealer);
        settle();
        return;
    }
    BlackjackHand dealer = m_dealer;
    dealer.cards.append(drawCard());
    setDealer(dealer);
    m_playTask = scheduler()->after(DealerDrawMs, [this] { dealerStep(); });
}

void BlackjackEngine::settle()
{
    setHideHole(false);
    const int dealerTotal = total(m_dealer.cards);
    const bool dealerBlackjack = isNatural(m_dealer.cards);
    const Resolution r = resolve(m_player, dealerTotal < 22 ? dealerTotal : 0, dealerBlackjack);

    BlackjackHand player = m_player;
    player.bank += r.returned;
    setPlayer(player);
    setPayout(r.returned - player.bet);
    setOutcome(r.outcome);
    recordBest();

    switch (r.outcome) {
    case Outcome::win:
        setMessage(QStringLiteral("You take it. +%1").arg(m_payout));
        break;
    case Outcome::blackjack:
        setMessage(QStringLiteral("Blackjack. +%1").arg(m_payout));
        break;
    case Outcome::push:
        setMessage(QStringLiteral("Push"));
        break;
    case Outcome::bust:
        setMessage(QStringLiteral("Bust"));
        break;
    case Outcome::lose:
        setMessage(dealerBlackjack ? QStringLiteral("Dealer blackjack")
                                   : QStringLiteral("Dealer takes it"));
        break;
    }
    if (m_player.bank < 1) {
        setMessage(BrokeMessage);
        setPhase(Phase::broke);
    } else {
        setPhase(Phase::settle);
    }
}

void BlackjackEngine::nextHand()
{
    if (m_phase != Phase::settle && m_phase != Phase::broke)
        return;
    cancelPlayTask();
    if (m_player.bank < 1) {
        setPhase(Phase::broke);
        setMessage(BrokeMessage);
        return;
    }
    if (m_player.bank < m_bet)
        setBet(m_player.bank);
    clearRound();
    setPhase(Phase::betting);
}

void BlackjackEngine::stop()
{
    cancelPlayTask();
    setPhase(Phase::howto);
}

bool BlackjackEngine::handleKey(const KeyInput &key)
{
    using namespace KeyCode;
    const int code = key.keyCode;
    const bool confirm = code == Return || code == Space;
    // Deal and the next hand take a fresh press: a held key does not run
    // through the result.
    if (confirm && key.autoRepeat && (phase() == Phase::betting || phase() == Phase::settle))
        return true;
    switch (phase()) {
    case Phase::betting:
        if (confirm)
            deal();
        return confirm;
    case Phase::playing:
        if (code == H)
            hit();
        else if (code == S)
            stand();
        else if (code == D)
            doubleDown();
        else
            return false;
        return true;
    case Phase::settle:
        if (confirm)
            nextHand();
        return confirm;
    default:
        return false;
    }
}
