#include "arcadetypes.h"
#include "gameseeds.h"
#include "pavlettest.h"
#include "toeengine.h"

using Phase = ToeEngine::Phase;
using Outcome = ToeEngine::Outcome;
constexpr ToeMark E = ToeMark::empty, R = ToeMark::red, B = ToeMark::blue;

namespace {

class ToeTest : public PavletTest {
protected:
    std::unique_ptr<ToeEngine> make(std::uint64_t seed = 1)
    {
        random = std::make_unique<Random>(seed);
        return std::make_unique<ToeEngine>(defaults.get(), &clock, scheduler.get(), random.get());
    }
    void SetUp() override
    {
        PavletTest::SetUp();
        engine = make();
    }
    std::unique_ptr<Random> random;
    std::unique_ptr<ToeEngine> engine;
};

} // namespace

TEST_F(ToeTest, RefusedTapsChangeNothing)
{
    struct Case {
        const char *name;
        std::function<void(ToeEngine &)> setup;
        int index;
    };
    const Case cases[] = {
        {"howto", [](ToeEngine &) {}, 4},
        {"below range", [](ToeEngine &e) { e.start(); }, -1},
        {"above range", [](ToeEngine &e) { e.start(); }, 9},
        {"taken", [](ToeEngine &e) { e.start(); e.setVersusLocal(); e.play(4); }, 4},
        {"busy", [](ToeEngine &e) { e.start(); e.play(0); }, 4},
        // The computer's turn without a pending move: still refused.
        {"blue vs npc", [](ToeEngine &e) { e.start(); e.play(0); e.stop(); }, 4},
        {"over", [](ToeEngine &e) {
             e.setVersusLocal();
             e.start();
             for (int i : {0, 3, 1, 4, 2})
                 e.play(i);
         }, 8},
    };
    for (const Case &c : cases) {
        auto e = make();
        c.setup(*e);
        const auto before = e->cells();
        const bool turn = e->redTurn();
        e->play(c.index);
        EXPECT_EQ(e->cells(), before) << c.name;
        EXPECT_EQ(e->redTurn(), turn) << c.name;
    }
}

TEST_F(ToeTest, LocalGameAlternatesAndWinsDoNotCount)
{
    engine->setVersusLocal();
    engine->start();
    EXPECT_EQ(engine->versus(), ArcadeVersus::local()); // start keeps the choice
    engine->play(0);
    engine->play(3);
    engine->play(1);
    EXPECT_EQ(engine->cells(), (ToeEngine::Board{R, R, E, B, E, E, E, E, E}));
    EXPECT_FALSE(engine->redTurn());
    engine->play(4);
    engine->play(2);
    EXPECT_EQ(engine->phase(), Phase::over);
    EXPECT_EQ(engine->outcome(), Outcome::red);
    EXPECT_EQ(engine->winLine(), (QList<int>{0, 1, 2}));
    EXPECT_TRUE(engine->redTurn()); // the winning move does not flip the turn
    EXPECT_EQ(engine->wins(), 0);
    EXPECT_FALSE(defaults->contains("pavlet.toeWins"));
}

TEST_F(ToeTest, ComputerAnswersAfterItsLevelsWait)
{
    for (ArcadeNPCLevel level : allNPCLevels) {
        auto e = make();
        e->setVersus(ArcadeVersus::npc(level));
        e->start();
        e->play(0);
        EXPECT_TRUE(e->busy());
        EXPECT_FALSE(e->redTurn());
        const int wait = ToeEngine::npcDelayMs(level);
        scheduler->advance(wait - 1);
        EXPECT_EQ(std::count(e->cells().begin(), e->cells().end(), B), 0) << rawValue(level).toStdString();
        scheduler->advance(1);
        EXPECT_EQ(std::count(e->cells().begin(), e->cells().end(), B), 1);
        EXPECT_FALSE(e->busy());
        EXPECT_TRUE(e->redTurn());
    }
    EXPECT_EQ(ToeEngine::npcDelayMs(ArcadeNPCLevel::easy), 380);
    EXPECT_EQ(ToeEngine::npcDelayMs(ArcadeNPCLevel::medium), 280);
    EXPECT_EQ(ToeEngine::npcDelayMs(ArcadeNPCLevel::hard), 140);
}

TEST_F(ToeTest, StoppingCancelsThePendingMove)
{
    engine->start();
    engine->play(4);
    ASSERT_TRUE(engine->busy());
    engine->stop();
    EXPECT_FALSE(engine->busy());
    scheduler->advance(1000);
    EXPECT_EQ(std::count(engine->cells().begin(), engine->cells().end(), B), 0);

    engine->start();
    engine->play(4);
    engine->reset(); // opening the game again
    scheduler->advance(1000);
    EXPECT_EQ(engine->phase(), Phase::howto);
    EXPECT_EQ(std::count(engine->cells().begin(), engine->cells().end(), B), 0);
}

TEST_F(ToeTest, ResetBringsBackTheMediumComputer)
{
    engine->setVersusLocal();
    engine->reset();
    EXPECT_EQ(engine->versus(), ArcadeVersus::npc(ArcadeNPCLevel::medium));
    engine->setVersusNpc("Hard"); // not a level
    EXPECT_EQ(engine->versus(), ArcadeVersus::npc(ArcadeNPCLevel::medium));
    engine->setVersusNpc("hard");
    EXPECT_EQ(engine->versus(), ArcadeVersus::npc(ArcadeNPCLevel::hard));
}

TEST_F(ToeTest, OneMoveMakingTwoLinesReportsTheFirstAndAFullBoardWithALineIsAWin)
{
    engine->setVersusLocal();
    engine->start();
    engine->setCells({E, R, R, R, B, B, R, B, B});
    engine->play(0);
    EXPECT_EQ(engine->outcome(), Outcome::red);
    EXPECT_EQ(engine->winLine(), (QList<int>{0, 1, 2}));
}

TEST_F(ToeTest, DrawAndCountedWins)
{
    engine->setVersusLocal();
    engine->start();
    engine->setCells({R, B, R, R, B, B, B, R, E});
    engine->play(8);
    EXPECT_EQ(engine->outcome(), Outcome::draw);
    EXPECT_TRUE(engine->winLine().isEmpty());
    EXPECT_EQ(engine->wins(), 0);

    // Red beating the computer counts and is stored at once.
    engine->setVersus(ArcadeVersus::npc(ArcadeNPCLevel::easy));
    engine->start();
    engine->setCells({R, R, E, B, B, E, E, E, E});
    engine->play(2);
    EXPECT_EQ(engine->outcome(), Outcome::red);
    EXPECT_EQ(engine->wins(), 1);
    EXPECT_EQ(reopenDefaults()->intValue("pavlet.toeWins"), 1);
    EXPECT_EQ(make()->wins(), 1);
}

TEST_F(ToeTest, ComputerWinEndsTheGameWithoutCounting)
{
    engine->setVersus(ArcadeVersus::npc(ArcadeNPCLevel::hard));
    engine->start();
    engine->setCells({E, E, E, B, B, E, R, E, E});
    engine->play(0);
    scheduler->advance(140);
    EXPECT_EQ(engine->outcome(), Outcome::blue);
    EXPECT_EQ(engine->winLine(), (QList<int>{3, 4, 5}));
    EXPECT_FALSE(engine->busy());
    EXPECT_EQ(engine->wins(), 0);
}

TEST_F(ToeTest, ComputerLevelsFollowTheirChances)
{
    // Blue can win at 5 (row 3-4-5), red threatens at 2 (row 0-1-2).
    const ToeEngine::Board threat{R, R, E, B, B, E, E, E, R};
    auto choose = [&](ArcadeNPCLevel level, std::uint64_t seed) {
        auto e = make(seed);
        e->setCells(threat);
        return e->npcChooseCell(level);
    };
    EXPECT_EQ(choose(ArcadeNPCLevel::hard, 1), 5); // win before block, no draws needed

    const auto takeWin = seedWhere([](Random &r) { return closedUnit(r) < 0.88; });
    EXPECT_EQ(choose(ArcadeNPCLevel::medium, takeWin), 5);
    const auto takeBlock = seedWhere([](Random &r) {
        return closedUnit(r) >= 0.88 && closedUnit(r) < 0.72;
    });
    EXPECT_EQ(choose(ArcadeNPCLevel::medium, takeBlock), 2);
    const auto easyBlock = seedWhere([](Random &r) {
        return closedUnit(r) >= 0.25 && closedUnit(r) < 0.2;
    });
    EXPECT_EQ(choose(ArcadeNPCLevel::easy, easyBlock), 2);
    // Easy passing on both falls through to a random open cell.
    const auto easyRandom = seedWhere([](Random &r) {
        return closedUnit(r) >= 0.25 && closedUnit(r) >= 0.2 && r.below(4) == 3; // open: 2 5 6 7
    });
    EXPECT_EQ(choose(ArcadeNPCLevel::easy, easyRandom), 7);
}

TEST_F(ToeTest, ChancesAreDrawnOnlyForOptionsThatExist)
{
    // Empty board: no win, no block. Medium declines the centre, then takes a
    // corner; a draw for the missing win or block would shift every choice.
    const auto corner = seedWhere([](Random &r) {
        Random shifted = r; // with one extra draw the pick must differ
        closedUnit(shifted);
        const bool expected = closedUnit(r) >= 0.5 && closedUnit(r) < 0.45 && r.below(4) == 3;
        const bool other = closedUnit(shifted) >= 0.5 && closedUnit(shifted) < 0.45
                           && shifted.below(4) == 3;
        return expected && !other;
    });
    auto e = make(corner);
    EXPECT_EQ(e->npcChooseCell(ArcadeNPCLevel::medium), 8);

    // Easy, empty board: only the open-cell draw.
    const auto pick = seedWhere([](Random &r) {
        Random other = r;
        const int first = r.below(9);
        closedUnit(other);
        return first == 6 && other.below(9) != 6;
    });
    e = make(pick);
    EXPECT_EQ(e->npcChooseCell(ArcadeNPCLevel::easy), 6);

    // Hard: centre taken, corners free: the corner draw only.
    const auto hardCorner = seedWhere([](Random &r) {
        Random other = r;
        const int first = r.below(4);
        closedUnit(other);
        return first == 1 && other.below(4) != 1;
    });
    e = make(hardCorner);
    e->setCells({E, E, E, E, R, E, E, E, E});
    EXPECT_EQ(e->npcChooseCell(ArcadeNPCLevel::hard), 2);
    e->setCells({R, B, R, B, R, B, B, R, B});
    EXPECT_FALSE(e->npcChooseCell(ArcadeNPCLevel::hard).has_value());
}
