#include "gameseeds.h"
#include "pavlettest.h"
#include "stack4engine.h"

using Slot = Stack4Engine::Slot;
using Phase = Stack4Engine::Phase;
using Board = Stack4Engine::Board;

namespace {

Board emptyBoard()
{
    Board b;
    b.fill(Slot::empty);
    return b;
}

// Discs given as (column, colour) in drop order.
Board boardOf(std::initializer_list<std::pair<int, Slot>> drops)
{
    Board b = emptyBoard();
    for (auto [column, colour] : drops)
        b[*Stack4Engine::landingIndex(column, b)] = colour;
    return b;
}

constexpr Slot r = Slot::red, b = Slot::blue;

class Stack4Test : public PavletTest {
protected:
    std::unique_ptr<Stack4Engine> make(std::uint64_t seed = 1)
    {
        random = std::make_unique<Random>(seed);
        return std::make_unique<Stack4Engine>(defaults.get(), &clock, scheduler.get(), random.get());
    }
    void SetUp() override
    {
        PavletTest::SetUp();
        engine = make();
    }
    void startLocal()
    {
        engine->setVersusLocal();
        engine->setPhase(Phase::playing);
    }
    int discs(Slot colour) const
    {
        return int(std::count(engine->board().begin(), engine->board().end(), colour));
    }
    std::unique_ptr<Random> random;
    std::unique_ptr<Stack4Engine> engine;
};

} // namespace

TEST_F(Stack4Test, DiscsStackFromTheBottomAndAFullColumnRefuses)
{
    startLocal();
    for (int i = 0; i < 6; ++i) {
        engine->drop(2);
        EXPECT_EQ(engine->fallingIndex(), 2 * 6 + i);
        scheduler->advance(1000);
    }
    EXPECT_EQ(engine->board()[12], r);
    EXPECT_EQ(engine->board()[13], b);
    EXPECT_FALSE(Stack4Engine::landingIndex(2, engine->board()).has_value());
    engine->drop(2);
    EXPECT_FALSE(engine->busy());
    EXPECT_EQ(discs(r) + discs(b), 6);
    for (int bad : {-1, 7})
        EXPECT_FALSE(Stack4Engine::landingIndex(bad, engine->board()).has_value());
    engine->drop(7);
    EXPECT_FALSE(engine->busy());
}

TEST_F(Stack4Test, DropAnimationPublishesItsStepsAndTakesItsTime)
{
    startLocal();
    QList<std::pair<double, QString>> steps;
    QObject::connect(engine.get(), &Stack4Engine::fallTravelChanged, [&] {
        steps.append({engine->fallTravel(), engine->fallAnimation().curve});
    });
    const qint64 t0 = clock.monotonicMs();
    engine->drop(4);
    EXPECT_EQ(engine->board()[24], r); // the disc is in the board at once
    EXPECT_DOUBLE_EQ(engine->fallTravel(), 192);
    scheduler->advance(20);
    EXPECT_DOUBLE_EQ(engine->fallTravel(), 0);
    EXPECT_EQ(engine->fallAnimation(), Stack4FallAnimation::easeIn(0.41));
    scheduler->advance(430);
    EXPECT_DOUBLE_EQ(engine->fallTravel(), -5);
    EXPECT_EQ(engine->fallAnimation(), Stack4FallAnimation::spring(0.22, 0.52));
    scheduler->advance(90);
    EXPECT_EQ(engine->fallAnimation(), Stack4FallAnimation::spring(0.18, 0.72));
    scheduler->advance(79);
    EXPECT_TRUE(engine->fallingIndex().has_value());
    EXPECT_TRUE(engine->busy());
    scheduler->advance(1);
    EXPECT_EQ(clock.monotonicMs() - t0, 620);
    EXPECT_FALSE(engine->fallingIndex().has_value());
    EXPECT_FALSE(engine->busy());
    EXPECT_FALSE(engine->redTurn());
    EXPECT_EQ(steps.size(), 4);

    EXPECT_EQ(Stack4Engine::dropDurationMs(0), 620);
    EXPECT_EQ(Stack4Engine::dropDurationMs(5), 370);
}

TEST_F(Stack4Test, ComputerTurnKeepsTheBoardBusyUntilItsDiscLands)
{
    for (ArcadeNPCLevel level : allNPCLevels) {
        engine = make();
        engine->setVersus(ArcadeVersus::npc(level));
        engine->setPhase(Phase::playing);
        engine->drop(0);
        scheduler->advance(620);
        EXPECT_FALSE(engine->redTurn());
        EXPECT_TRUE(engine->busy());
        const int wait = Stack4Engine::npcDelayMs(level);
        scheduler->advance(wait - 1);
        EXPECT_EQ(discs(b), 0);
        engine->dropAtCursor(); // Space during the computer's turn
        engine->moveCursor(+1); // the cursor still moves
        EXPECT_EQ(discs(r), 1);
        scheduler->advance(1);
        ASSERT_EQ(discs(b), 1) << rawValue(level).toStdString();
        const int row = *engine->fallingIndex() % 6;
        scheduler->advance(Stack4Engine::dropDurationMs(row) - 1);
        EXPECT_TRUE(engine->busy());
        EXPECT_FALSE(engine->redTurn());
        scheduler->advance(1);
        EXPECT_FALSE(engine->busy());
        EXPECT_TRUE(engine->redTurn());
    }
    EXPECT_EQ(Stack4Engine::npcDelayMs(ArcadeNPCLevel::easy), 380);
    EXPECT_EQ(Stack4Engine::npcDelayMs(ArcadeNPCLevel::medium), 240);
    EXPECT_EQ(Stack4Engine::npcDelayMs(ArcadeNPCLevel::hard), 120);
}

TEST_F(Stack4Test, CursorMovesClampedOnlyWhilePlaying)
{
    engine->moveCursor(1);
    EXPECT_EQ(engine->cursor(), 3); // howto
    engine->setPhase(Phase::playing);
    engine->moveCursor(10);
    EXPECT_EQ(engine->cursor(), 6);
    engine->moveCursor(-10);
    EXPECT_EQ(engine->cursor(), 0);
    engine->setCursor(7);
    EXPECT_EQ(engine->cursor(), 0);
    engine->setCursor(5);
    engine->dropAtCursor();
    EXPECT_EQ(engine->board()[30], r);
}

TEST_F(Stack4Test, ComputerTakesAWinAtEveryLevel)
{
    // Blue has three in column 5; red threatens column 1 along the bottom.
    const Board board = boardOf({{2, r}, {5, b}, {3, r}, {5, b}, {4, r}, {5, b}});
    for (ArcadeNPCLevel level : allNPCLevels) {
        engine = make(99);
        engine->setBoard(board);
        EXPECT_EQ(engine->npcChooseColumn(level), 5) << rawValue(level).toStdString();
    }
}

TEST_F(Stack4Test, MediumAlwaysBlocksEasyOnlySometimes)
{
    const Board threat = boardOf({{1, r}, {6, b}, {2, r}, {6, b}, {3, r}, {5, b}});
    // Red wins at column 0 or 4; the block found first is column 0.
    ASSERT_EQ(Stack4Engine::winningColumn(threat, r), 0);
    for (std::uint64_t seed = 1; seed < 20; ++seed) {
        engine = make(seed);
        engine->setBoard(threat);
        EXPECT_EQ(engine->npcChooseColumn(ArcadeNPCLevel::medium), 0);
    }
    // Easy: the fallback (over the 7 open columns) is drawn first, then p.
    const auto blocks = seedWhere([](Random &x) { return x.below(7) == 6 && closedUnit(x) < 0.35; });
    engine = make(blocks);
    engine->setBoard(threat);
    EXPECT_EQ(engine->npcChooseColumn(ArcadeNPCLevel::easy), 0);
    const auto misses = seedWhere([](Random &x) { return x.below(7) == 6 && closedUnit(x) >= 0.35; });
    engine = make(misses);
    engine->setBoard(threat);
    EXPECT_EQ(engine->npcChooseColumn(ArcadeNPCLevel::easy), 6);
}

TEST_F(Stack4Test, MediumPrefersTheCentreWithSeventyPercent)
{
    // Column 3 full: the most central open column is 2 (ties keep the lower).
    Board board = emptyBoard();
    for (int row = 0; row < 6; ++row)
        board[3 * 6 + row] = (row % 2 == 0) ? r : b;
    const auto central = seedWhere([](Random &x) { return x.below(6) == 5 && closedUnit(x) < 0.7; });
    engine = make(central);
    engine->setBoard(board);
    EXPECT_EQ(engine->npcChooseColumn(ArcadeNPCLevel::medium), 2);
    const auto fallback = seedWhere([](Random &x) { return x.below(6) == 5 && closedUnit(x) >= 0.7; });
    engine = make(fallback);
    engine->setBoard(board);
    EXPECT_EQ(engine->npcChooseColumn(ArcadeNPCLevel::medium), 6);
}

TEST(Stack4RulesTest, LineCellsReportsTheFirstDirectionAndFourCells)
{
    // Five reds along the bottom: from column 2 the line walks left first.
    Board row5 = boardOf({{0, r}, {1, r}, {2, r}, {3, r}, {4, r}});
    EXPECT_EQ(Stack4Engine::lineCells(row5, 12), (QList<int>{12, 6, 0, 18}));
    EXPECT_FALSE(Stack4Engine::lineCells(row5, 1).has_value()); // an empty slot

    // The disc at the bottom of column 3 is in a row and a column: the row wins.
    const Board both = boardOf({{0, r}, {1, r}, {2, r}, {3, r}, {3, r}, {3, r}, {3, r}});
    EXPECT_EQ(Stack4Engine::lineCells(both, 18), (QList<int>{18, 12, 6, 0}));

    // A rising diagonal through (0,0)…(3,3) and a falling one.
    Board diag = emptyBoard();
    for (int k = 0; k < 4; ++k)
        diag[k * 6 + k] = b;
    EXPECT_EQ(Stack4Engine::lineCells(diag, 0), (QList<int>{0, 7, 14, 21}));
    Board fall = emptyBoard();
    for (int k = 0; k < 4; ++k)
        fall[k * 6 + (3 - k)] = b;
    EXPECT_EQ(Stack4Engine::lineCells(fall, 3), (QList<int>{3, 8, 13, 18}));
}

TEST(Stack4RulesTest, WinnerScoresAndSearch)
{
    Board both = boardOf({{0, b}, {1, b}, {2, b}, {3, b}});
    for (int c = 0; c < 4; ++c)
        both[c * 6 + 1] = r;
    EXPECT_EQ(Stack4Engine::lineWinner(both), r); // red is tested first
    EXPECT_EQ(Stack4Engine::lineWinner(emptyBoard()), Slot::empty);

    EXPECT_EQ(Stack4Engine::centreScore(boardOf({{3, b}, {0, r}, {6, r}, {2, b}})), 3 + 2);
    EXPECT_EQ(Stack4Engine::centreScore(boardOf({{3, r}})), -3);

    // Immediate wins and losses dominate; quicker wins score higher.
    const Board blueWon = boardOf({{0, b}, {0, b}, {0, b}, {0, b}});
    EXPECT_EQ(Stack4Engine::minimax(blueWon, 3, false, Stack4Engine::ScoreFloor, Stack4Engine::ScoreCeiling), 10003);

    EXPECT_EQ(Stack4Engine::bestColumn(emptyBoard()), 3);
    // Blue must block red's open three along the bottom (columns 1-3).
    const Board threat = boardOf({{1, r}, {6, b}, {2, r}, {6, b}, {3, r}, {5, b}});
    const auto best = Stack4Engine::bestColumn(threat);
    ASSERT_TRUE(best.has_value());
    EXPECT_TRUE(*best == 0 || *best == 4);
    // With its own win available it plays it.
    const Board win = boardOf({{2, r}, {5, b}, {3, r}, {5, b}, {0, r}, {5, b}});
    EXPECT_EQ(Stack4Engine::bestColumn(win), 5);

    Board full = emptyBoard();
    for (int i = 0; i < 42; ++i)
        full[i] = ((i % 6) / 3 + i / 6) % 2 ? b : r;
    ASSERT_EQ(Stack4Engine::lineWinner(full), Slot::empty);
    EXPECT_FALSE(Stack4Engine::bestColumn(full).has_value());
    EXPECT_FALSE(Stack4Engine::winningColumn(full, r).has_value());
}

TEST_F(Stack4Test, FilledBoardWithoutALineIsADraw)
{
    Board board = emptyBoard();
    for (int i = 0; i < 42; ++i)
        board[i] = ((i % 6) / 3 + i / 6) % 2 ? b : r;
    ASSERT_EQ(board[11], r);
    board[11] = Slot::empty;
    startLocal();
    engine->setBoard(board);
    engine->drop(1);
    scheduler->advance(1000);
    EXPECT_EQ(engine->phase(), Phase::over);
    EXPECT_EQ(engine->winner(), Slot::empty);
    EXPECT_TRUE(engine->winCells().isEmpty());
    EXPECT_FALSE(engine->busy());
}

TEST_F(Stack4Test, OnlyRedWinsAgainstTheComputerCount)
{
    // Local: red wins along the bottom, nothing counted.
    startLocal();
    engine->setBoard(boardOf({{0, r}, {0, b}, {1, r}, {1, b}, {2, r}, {2, b}}));
    engine->drop(3);
    scheduler->advance(1000);
    EXPECT_EQ(engine->winner(), r);
    EXPECT_EQ(engine->winCells(), (QList<int>{18, 12, 6, 0}));
    EXPECT_EQ(engine->wins(), 0);

    // The computer winning does not count either.
    engine->stop();
    engine->newBoard();
    engine->setVersus(ArcadeVersus::npc(ArcadeNPCLevel::hard));
    engine->setPhase(Phase::playing);
    engine->setBoard(boardOf({{6, b}, {6, b}, {6, b}, {0, r}, {1, r}}));
    engine->drop(0);
    scheduler->advance(3000);
    EXPECT_EQ(engine->winner(), b);
    EXPECT_EQ(engine->wins(), 0);

    // Red against the computer: +1, stored.
    engine->stop();
    engine->newBoard();
    engine->setPhase(Phase::playing);
    engine->setBoard(boardOf({{0, r}, {0, b}, {1, r}, {1, b}, {2, r}, {2, b}}));
    engine->drop(3);
    scheduler->advance(1000);
    EXPECT_EQ(engine->wins(), 1);
    EXPECT_EQ(reopenDefaults()->intValue("pavlet.stack4Wins"), 1);
    EXPECT_EQ(make()->wins(), 1);
}

TEST_F(Stack4Test, StopMidFallKeepsTheDiscAndClearsTheAnimation)
{
    startLocal();
    engine->drop(3);
    scheduler->advance(200);
    engine->stop();
    EXPECT_EQ(engine->board()[18], r);
    EXPECT_FALSE(engine->fallingIndex().has_value());
    EXPECT_DOUBLE_EQ(engine->fallTravel(), 0);
    EXPECT_FALSE(engine->busy());
    EXPECT_TRUE(engine->redTurn()); // the turn was never finished
    scheduler->advance(2000);
    EXPECT_TRUE(engine->redTurn());
    EXPECT_EQ(scheduler->pendingCount(), 0);
}
