#include "core/random.h"
#include "games/blackjackengine.h"
#include "support/pavlettest.h"

using Phase = BlackjackEngine::Phase;
using Outcome = BlackjackEngine::Outcome;

namespace {

QList<BlackjackCard> cards(std::initializer_list<int> ranks)
{
    QList<BlackjackCard> list;
    for (int rank : ranks)
        list.append(BlackjackCard{5000 + list.size(), rank, rank % 4});
    return list;
}

class BlackjackTest : public PavletTest {
protected:
    void SetUp() override
    {
        PavletTest::SetUp();
        engine = std::make_unique<BlackjackEngine>(defaults.get(), &clock, scheduler.get(), &random);
    }
    // The next draws, in order (player, dealer, player, dealer, then hits and
    // the dealer's draws), over enough filler that the shoe is not rebuilt.
    void rig(std::initializer_list<int> ranks)
    {
        QList<BlackjackCard> shoe(20, BlackjackCard{9000, 2, 0});
        const auto drawn = cards(ranks);
        std::copy(drawn.rbegin(), drawn.rend(), std::back_inserter(shoe));
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

TEST(BlackjackRulesTest, TotalsAndResolveTable)
{
    const struct {
        std::initializer_list<int> ranks;
        int total;
    } totals[] = {{{1, 6}, 17}, {{1, 1, 9}, 21}, {{1, 6, 13}, 17}, {{1, 1, 1}, 13}, {{13, 12, 5}, 25}};
    for (const auto &row : totals)
        EXPECT_EQ(BlackjackEngine::total(cards(row.ranks)), row.total);

    using R = BlackjackEngine::Resolution;
    const struct {
        std::initializer_list<int> ranks;
        qint64 bet;
        int dealerTotal;
        bool dealerBlackjack;
        R expected;
    } rows[] = {
        {{10, 9}, 0, 18, false, {Outcome::lose, 0}},
        {{1, 13}, 5, 20, false, {Outcome::blackjack, 12}}, // 3:2 rounded down
        {{1, 13}, 25, 17, false, {Outcome::blackjack, 62}},
        {{1, 13}, 25, 21, true, {Outcome::push, 25}},
        {{10, 9, 5}, 25, 0, false, {Outcome::bust, 0}}, // a bust loses even to a bust dealer
        {{10, 9}, 25, 21, true, {Outcome::lose, 0}},
        {{10, 2}, 25, 0, false, {Outcome::win, 50}},
        {{10, 8}, 25, 18, false, {Outcome::push, 25}},
        {{7, 7, 7}, 25, 20, false, {Outcome::win, 50}}, // three-card 21 is no natural
    };
    for (const auto &row : rows) {
        BlackjackHand hand;
        hand.cards = cards(row.ranks);
        hand.bet = row.bet;
        EXPECT_EQ(BlackjackEngine::resolve(hand, row.dealerTotal, row.dealerBlackjack), row.expected);
    }
}

TEST_F(BlackjackTest, DealerNaturalSettlesAtTheDeal)
{
    buyInAndDeal(250, 25, {1, 1, 13, 12}); // player A K, dealer A Q
    EXPECT_EQ(engine->phase(), Phase::settle);
    EXPECT_EQ(engine->message(), "Push");
    EXPECT_EQ(engine->player().bank, 250);
    EXPECT_EQ(scheduler->pendingCount(), 0);

    engine->nextHand();
    rig({10, 1, 9, 13});
    engine->deal();
    EXPECT_EQ(engine->message(), "Dealer blackjack");
    EXPECT_EQ(engine->payout(), -25);
    EXPECT_EQ(engine->player().bank, 225);
}

TEST_F(BlackjackTest, DealerTurnPlaysOutAndSettles)
{
    enum Act { none, stand, hit, doubled };
    const struct {
        std::initializer_list<int> ranks;
        Act act;
        int settleMs; // 320 ms to turn the hole card, 280 per dealer draw
        Outcome outcome;
        const char *message;
        qint64 bank;
    } rows[] = {
        {{1, 10, 13, 6, 4}, none, 600, Outcome::blackjack, "Blackjack. +37", 287}, // dealer 16 draws
        {{10, 1, 8, 6}, stand, 320, Outcome::win, "You take it. +25", 275},        // stands on soft 17
        {{10, 10, 8, 6, 10}, stand, 600, Outcome::win, "You take it. +25", 275},   // 16 draws, busts
        {{10, 10, 6, 5, 9, 3}, hit, 600, Outcome::bust, "Bust", 225},              // plays after a bust
        {{10, 10, 8, 9}, stand, 320, Outcome::lose, "Dealer takes it", 225},
        {{5, 10, 6, 8, 10}, hit, 320, Outcome::win, "You take it. +25", 275},      // a hit to 21 stands
        {{5, 10, 6, 8, 9}, doubled, 320, Outcome::win, "You take it. +50", 300},   // paid on 50
    };
    for (const auto &row : rows) {
        buyInAndDeal(250, 25, row.ranks);
        if (row.act == stand)
            engine->stand();
        else if (row.act == hit)
            engine->hit();
        else if (row.act == doubled)
            engine->doubleDown();
        scheduler->advance(row.settleMs - 1);
        EXPECT_EQ(engine->phase(), Phase::waiting) << row.message;
        scheduler->advance(1);
        EXPECT_EQ(engine->outcome(), row.outcome) << row.message;
        EXPECT_EQ(engine->message(), row.message);
        EXPECT_EQ(engine->player().bank, row.bank) << row.message;
    }
    EXPECT_EQ(engine->best(), 300);
}

TEST_F(BlackjackTest, DoubleDownIsRefusedAfterAHitOrBelowTheStake)
{
    buyInAndDeal(250, 25, {2, 10, 3, 8, 4, 9});
    engine->hit();
    engine->doubleDown();
    EXPECT_FALSE(engine->player().doubled);

    buyInAndDeal(40, 25, {5, 10, 6, 8, 9}); // refused with the bank below the stake
    engine->doubleDown();
    EXPECT_EQ(engine->phase(), Phase::playing);
}

TEST_F(BlackjackTest, StakesAndBetOptionsFollowTheBank)
{
    buyInAndDeal(100, 250, {10, 10, 8, 9});
    EXPECT_EQ(engine->player().bet, 100);
    buyInAndDeal(100, 0, {10, 10, 8, 9});
    EXPECT_EQ(engine->player().bet, 1);

    const std::pair<qint64, QList<qint64>> rows[] = {{0, {}}, {3, {3}}, {30, {5, 10, 25}}};
    for (const auto &[bank, options] : rows) {
        engine->startBuyIn(bank);
        EXPECT_EQ(engine->betOptions(), options) << bank;
    }
    EXPECT_EQ(engine->bet(), 25); // min(buy-in, 25)
}

TEST_F(BlackjackTest, ShoeIsRebuiltBelowEighteenCards)
{
    engine->startBuyIn(250);
    ASSERT_EQ(engine->shoe().size(), 208);
    // 18 cards: one draw comes from them, the next finds 17 and rebuilds first.
    const QList<BlackjackCard> shoe = engine->shoe().mid(0, 18);
    engine->setShoe(shoe);
    engine->deal();
    EXPECT_EQ(engine->player().cards[0], shoe.last());
    EXPECT_EQ(engine->shoe().size(), 208 - 3);
    EXPECT_TRUE(std::all_of(engine->shoe().begin(), engine->shoe().end(),
                            [](const BlackjackCard &c) { return c.id >= 208; })); // fresh ids
}

TEST_F(BlackjackTest, CancellingTheDealerTurnNeverTouchesTheBank)
{
    for (int way = 0; way < 3; ++way) {
        buyInAndDeal(250, 25, {10, 10, 8, 2, 2, 2, 2, 10});
        engine->stand();
        scheduler->advance(320); // the dealer has drawn once
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

TEST_F(BlackjackTest, BestBankAndGoingBroke)
{
    engine->startBuyIn(1000);
    engine->startBuyIn(100);
    EXPECT_EQ(engine->best(), 1000);
    EXPECT_EQ(BlackjackEngine(defaults.get(), &clock, scheduler.get(), &random).best(), 1000);

    buyInAndDeal(100, 60, {10, 10, 8, 9}); // 18 against 19
    engine->stand();
    scheduler->advance(320);
    engine->nextHand();
    EXPECT_EQ(engine->bet(), 40); // lowered to the bank
    rig({10, 10, 8, 9});
    engine->deal();
    engine->stand();
    scheduler->advance(320);
    EXPECT_EQ(engine->phase(), Phase::broke);
    EXPECT_EQ(engine->message(), "Bank is empty. Buy in again.");
    engine->nextHand();
    engine->deal();
    EXPECT_EQ(engine->phase(), Phase::broke);
}
