#include "blackjackengine.h"
#include "pavlettest.h"
#include "random.h"

using Phase = BlackjackEngine::Phase;
using Outcome = BlackjackEngine::Outcome;

namespace {

QList<BlackjackCard> cards(std::initializer_list<int> ranks)
{
    QList<BlackjackCard> list;
    int id = 5000;
    for (int rank : ranks)
        list.append(BlackjackCard{id++, rank, id % 4});
    return list;
}

class BlackjackTest : public PavletTest {
protected:
    void SetUp() override
    {
        PavletTest::SetUp();
        engine = std::make_unique<BlackjackEngine>(defaults.get(), &clock, scheduler.get(), &random);
    }

    // The next draws come out in the given order (player, dealer, player,
    // dealer, then hits and the dealer's draws), over enough filler that the
    // shoe is not rebuilt.
    void rig(std::initializer_list<int> ranks)
    {
        QList<BlackjackCard> shoe;
        for (int i = 0; i < 20; ++i)
            shoe.append(BlackjackCard{9000 + i, 2, 0});
        const QList<BlackjackCard> drawn = cards(ranks);
        for (auto it = drawn.rbegin(); it != drawn.rend(); ++it)
            shoe.append(*it);
        engine->setShoe(shoe);
    }

    void buyInAndDeal(qint64 amount, qint64 bet, std::initializer_list<int> ranks)
    {
        engine->startBuyIn(amount);
        engine->setBet(bet);
        rig(ranks);
        engine->deal();
    }

    Random random{7};
    std::unique_ptr<BlackjackEngine> engine;
};

} // namespace

TEST(BlackjackRulesTest, TotalsCountAcesSoftWhileTheyFit)
{
    const struct {
        std::initializer_list<int> ranks;
        int total;
    } rows[] = {
        {{1, 6}, 17}, {{1, 13}, 21}, {{1, 1, 9}, 21}, {{1, 6, 13}, 17},
        {{1, 1, 1}, 13}, {{13, 12, 5}, 25}, {{11, 1}, 21}, {{}, 0},
    };
    for (const auto &row : rows)
        EXPECT_EQ(BlackjackEngine::total(cards(row.ranks)), row.total);
    EXPECT_TRUE(BlackjackEngine::isNatural(cards({1, 12})));
    EXPECT_FALSE(BlackjackEngine::isNatural(cards({7, 7, 7})));
    EXPECT_EQ(cards({1})[0].label(), "A");
    EXPECT_EQ(cards({10})[0].label(), "10");
    EXPECT_EQ(cards({12})[0].label(), "Q");
}

TEST(BlackjackRulesTest, ResolveTable)
{
    auto hand = [](std::initializer_list<int> ranks, qint64 bet) {
        BlackjackHand h;
        h.cards = cards(ranks);
        h.bet = bet;
        return h;
    };
    using R = BlackjackEngine::Resolution;
    const struct {
        BlackjackHand hand;
        int dealerTotal;
        bool dealerBlackjack;
        R expected;
    } rows[] = {
        {hand({10, 9}, 0), 18, false, {Outcome::lose, 0}},
        {hand({1, 13}, 5), 20, false, {Outcome::blackjack, 12}}, // 3:2 rounded down
        {hand({1, 13}, 25), 17, false, {Outcome::blackjack, 62}},
        {hand({1, 13}, 25), 21, true, {Outcome::push, 25}},
        {hand({10, 9, 5}, 25), 0, false, {Outcome::bust, 0}}, // a bust loses even to a bust dealer
        {hand({10, 9}, 25), 21, true, {Outcome::lose, 0}},
        {hand({10, 2}, 25), 0, false, {Outcome::win, 50}},
        {hand({10, 8}, 25), 18, false, {Outcome::push, 25}},
        {hand({10, 8}, 25), 19, false, {Outcome::lose, 0}},
        {hand({10, 9}, 50), 18, false, {Outcome::win, 100}},
        {hand({7, 7, 7}, 25), 20, false, {Outcome::win, 50}}, // three-card 21 is no natural
    };
    for (const auto &row : rows) {
        EXPECT_EQ(BlackjackEngine::resolve(row.hand, row.dealerTotal, row.dealerBlackjack), row.expected)
            << "total " << BlackjackEngine::total(row.hand.cards) << " vs " << row.dealerTotal;
    }
}

TEST_F(BlackjackTest, DealerNaturalSettlesAtTheDeal)
{
    buyInAndDeal(250, 25, {1, 1, 13, 12}); // player A K, dealer A Q
    EXPECT_EQ(engine->phase(), Phase::settle);
    EXPECT_EQ(engine->message(), "Push");
    EXPECT_EQ(engine->player().bank, 250);
    EXPECT_FALSE(engine->hideHole());
    EXPECT_EQ(scheduler->pendingCount(), 0);

    engine->nextHand();
    rig({10, 1, 9, 13});
    engine->deal();
    EXPECT_EQ(engine->phase(), Phase::settle);
    EXPECT_EQ(engine->outcome(), Outcome::lose);
    EXPECT_EQ(engine->message(), "Dealer blackjack");
    EXPECT_EQ(engine->payout(), -25);
    EXPECT_EQ(engine->player().bank, 225);
}

TEST_F(BlackjackTest, PlayerNaturalWaitsForTheDealerThenPaysThreeToTwo)
{
    buyInAndDeal(250, 25, {1, 10, 13, 6, 4}); // dealer 16 draws a 4
    EXPECT_EQ(engine->phase(), Phase::waiting);
    EXPECT_TRUE(engine->player().stood);
    EXPECT_FALSE(engine->hideHole());
    scheduler->advance(320);
    EXPECT_EQ(engine->dealer().cards.size(), 3);
    scheduler->advance(279);
    EXPECT_EQ(engine->phase(), Phase::waiting);
    scheduler->advance(1);
    EXPECT_EQ(engine->phase(), Phase::settle);
    EXPECT_EQ(engine->outcome(), Outcome::blackjack);
    EXPECT_EQ(engine->payout(), 37);
    EXPECT_EQ(engine->message(), "Blackjack. +37");
    EXPECT_EQ(engine->player().bank, 250 - 25 + 62);
    EXPECT_EQ(engine->best(), 287);
}

TEST_F(BlackjackTest, DealerStandsOnSoftSeventeenAndDrawsOnSixteen)
{
    buyInAndDeal(250, 25, {10, 1, 8, 6}); // dealer A 6
    ASSERT_EQ(engine->phase(), Phase::playing);
    EXPECT_TRUE(engine->hideHole());
    engine->stand();
    scheduler->advance(320);
    EXPECT_EQ(engine->dealer().cards.size(), 2);
    EXPECT_EQ(engine->message(), "You take it. +25");

    engine->nextHand();
    rig({10, 10, 8, 6, 10}); // dealer 16 draws and busts
    engine->deal();
    engine->stand();
    scheduler->advance(320 + 280);
    EXPECT_EQ(engine->dealer().cards.size(), 3);
    EXPECT_EQ(engine->outcome(), Outcome::win);
    EXPECT_EQ(engine->message(), "You take it. +25");
    EXPECT_EQ(engine->player().bank, 300);
}

TEST_F(BlackjackTest, DealerPlaysOutAfterAPlayerBust)
{
    buyInAndDeal(250, 25, {10, 10, 6, 5, 9, 3}); // player 16 hits 9; dealer 15 draws 3
    engine->hit();
    EXPECT_EQ(engine->phase(), Phase::waiting);
    scheduler->advance(2000);
    EXPECT_EQ(engine->dealer().cards.size(), 3);
    EXPECT_EQ(engine->outcome(), Outcome::bust);
    EXPECT_EQ(engine->message(), "Bust");
    EXPECT_EQ(engine->payout(), -25);
    EXPECT_EQ(engine->player().bank, 225);
}

TEST_F(BlackjackTest, HitToExactlyTwentyOneEndsTheTurn)
{
    buyInAndDeal(250, 25, {5, 10, 6, 8, 10}); // 11 + 10
    engine->hit();
    EXPECT_TRUE(engine->player().stood);
    EXPECT_EQ(engine->phase(), Phase::waiting);
    engine->hit(); // refused now
    EXPECT_EQ(engine->player().cards.size(), 3);
}

TEST_F(BlackjackTest, DoubleDownRules)
{
    // Allowed: one more card, doubled stake, dealer plays.
    buyInAndDeal(250, 25, {5, 10, 6, 8, 9});
    engine->doubleDown();
    EXPECT_EQ(engine->player().cards.size(), 3);
    EXPECT_EQ(engine->player().bet, 50);
    EXPECT_EQ(engine->player().bank, 200);
    EXPECT_TRUE(engine->player().doubled);
    engine->doubleDown(); // not twice
    EXPECT_EQ(engine->player().bet, 50);
    scheduler->advance(320);
    EXPECT_EQ(engine->message(), "You take it. +50");
    EXPECT_EQ(engine->player().bank, 300);

    // Refused after a hit.
    engine->nextHand();
    rig({2, 10, 3, 8, 4, 9});
    engine->deal();
    engine->hit();
    engine->doubleDown();
    EXPECT_FALSE(engine->player().doubled);
    EXPECT_EQ(engine->player().cards.size(), 3);

    // Refused when the bank is below the stake.
    engine->startBuyIn(40);
    engine->setBet(25);
    rig({5, 10, 6, 8, 9});
    engine->deal();
    engine->doubleDown();
    EXPECT_FALSE(engine->player().doubled);
    EXPECT_EQ(engine->phase(), Phase::playing);
}

TEST_F(BlackjackTest, StakeIsClampedToTheBank)
{
    buyInAndDeal(100, 250, {10, 10, 8, 9});
    EXPECT_EQ(engine->bet(), 100);
    EXPECT_EQ(engine->player().bet, 100);
    EXPECT_EQ(engine->player().bank, 0);

    buyInAndDeal(100, 0, {10, 10, 8, 9});
    EXPECT_EQ(engine->player().bet, 1);
    EXPECT_EQ(engine->player().bank, 99);
}

TEST_F(BlackjackTest, BetOptionsFollowTheBank)
{
    const struct {
        qint64 bank;
        QList<qint64> options;
    } rows[] = {
        {0, {}}, {3, {3}}, {5, {5}}, {30, {5, 10, 25}}, {1000, {5, 10, 25, 50, 100, 250}},
    };
    for (const auto &row : rows) {
        engine->startBuyIn(row.bank);
        EXPECT_EQ(engine->betOptions(), row.options) << row.bank;
    }
    EXPECT_EQ(engine->bet(), 25); // min(buy-in, 25)
    engine->startBuyIn(3);
    EXPECT_EQ(engine->bet(), 3);
}

TEST_F(BlackjackTest, ShoeIsRebuiltBelowEighteenCards)
{
    engine->startBuyIn(250);
    ASSERT_EQ(engine->shoe().size(), 208);
    QSet<qint64> ids;
    for (const BlackjackCard &c : engine->shoe())
        ids.insert(c.id);
    EXPECT_EQ(ids.size(), 208);

    // 18 cards: the first draw comes from them, the next one finds 17 and
    // rebuilds first (so 191 of 208 are served before a rebuild).
    QList<BlackjackCard> shoe = engine->shoe().mid(0, 18);
    const BlackjackCard last = shoe.last();
    engine->setShoe(shoe);
    engine->deal();
    EXPECT_EQ(engine->player().cards[0], last);
    EXPECT_EQ(engine->shoe().size(), 208 - 3);
    for (const BlackjackCard &c : engine->shoe())
        EXPECT_FALSE(ids.contains(c.id)); // fresh ids
}

TEST_F(BlackjackTest, CancellingTheDealerTurnNeverTouchesTheBank)
{
    for (int way = 0; way < 3; ++way) {
        buyInAndDeal(250, 25, {10, 10, 8, 2, 2, 2, 2, 10});
        engine->stand();
        scheduler->advance(320); // the dealer has drawn once
        ASSERT_EQ(engine->dealer().cards.size(), 3);
        if (way == 0)
            engine->stop();
        else if (way == 1)
            engine->reset();
        else
            engine->cancelPlayTask();
        const qint64 bank = engine->player().bank;
        scheduler->advance(5000);
        EXPECT_EQ(engine->player().bank, bank);
        EXPECT_FALSE(engine->outcome().has_value());
        EXPECT_EQ(engine->phase(), way == 2 ? Phase::waiting : Phase::howto);
    }
}

TEST_F(BlackjackTest, BestCountsTheBuyInAndPersists)
{
    EXPECT_EQ(engine->best(), 0);
    engine->startBuyIn(1000);
    EXPECT_EQ(engine->best(), 1000);
    engine->startBuyIn(100);
    EXPECT_EQ(engine->best(), 1000);
    EXPECT_EQ(reopenDefaults()->intValue("pavlet.blackjackBest"), 1000);
    BlackjackEngine again(defaults.get(), &clock, scheduler.get(), &random);
    EXPECT_EQ(again.best(), 1000);
}

TEST_F(BlackjackTest, NextHandLowersTheBetToTheBankAndGoesBrokeAtZero)
{
    buyInAndDeal(100, 60, {10, 10, 8, 9}); // 18 vs 19: lose 60
    engine->stand();
    scheduler->advance(320);
    EXPECT_EQ(engine->player().bank, 40);
    engine->nextHand();
    EXPECT_EQ(engine->phase(), Phase::betting);
    EXPECT_EQ(engine->bet(), 40);
    EXPECT_EQ(engine->player().bet, 0);

    rig({10, 10, 8, 9});
    engine->deal();
    engine->stand();
    scheduler->advance(320);
    EXPECT_EQ(engine->phase(), Phase::broke);
    EXPECT_EQ(engine->message(), "Bank is empty. Buy in again.");
    EXPECT_EQ(engine->player().bet, 40); // the lost stake still shows
    engine->nextHand();
    EXPECT_EQ(engine->phase(), Phase::broke);
    engine->deal();
    EXPECT_EQ(engine->phase(), Phase::broke);
}

TEST_F(BlackjackTest, ActionsOutsideTheirPhaseDoNothing)
{
    engine->deal(); // howto
    engine->hit();
    engine->nextHand();
    EXPECT_EQ(engine->phase(), Phase::howto);
    EXPECT_TRUE(engine->player().cards.isEmpty());
    engine->startBuyIn(250);
    engine->hit();
    engine->stand();
    engine->doubleDown();
    engine->nextHand();
    EXPECT_EQ(engine->phase(), Phase::betting);
    EXPECT_TRUE(engine->player().cards.isEmpty());
    engine->stop();
    EXPECT_EQ(engine->phase(), Phase::howto);
    EXPECT_EQ(engine->player().bank, 250); // kept until the next buy-in
    engine->reset();
    EXPECT_EQ(engine->player().bank, 0);
    EXPECT_EQ(engine->buyIn(), 250);
    EXPECT_EQ(engine->bet(), 25);
    EXPECT_TRUE(engine->shoe().isEmpty());
}
