#include "games/stack4engine.h"
#include "gameseeds.h"
#include "core/keycodes.h"
#include "core/keyinput.h"
#include "support/pavlettest.h"

using Slot = Stack4Engine::Slot;
using Phase = Stack4Engine::Phase;
using Board = Stack4Engine::Board;
using L = ArcadeNPCLevel;
constexpr Slot r = Slot::red, b = Slot::blue;

namespace {

// Discs given as (column, colour) in drop order.
Board boardOf(std::initializer_list<std::pair<int, Slot>> drops)
{
    Board board;
    board.fill(Slot::empty);
    for (auto [column, colour] : drops)
        board[*Stack4Engine::landingIndex(column, board)] = colour;
    return board;
}

// Full, without a line of four anywhere.
Board drawnBoard()
{
    Board board;
    for (int i = 0; i < 42; ++i)
        board[i] = ((i % 6) / 3 + i / 6) % 2 ? b : r;
    return board;
}

class Stack4Test : public PavletTest {
protected:
    std::unique_ptr<Stack4Engine> make(std::uint64_t seed = 1, ArcadeVersus versus = ArcadeVersus::local())
    {
        random = std::make_unique<Random>(seed);
        auto e = std::make_unique<Stack4Engine>(defaults.get(), &clock, scheduler.get(), random.get());
        e->setVersus(versus);
        e->setPhase(Phase::playing);
        return e;
    }
    int discs(const Stack4Engine &e, Slot colour) const
    {
        return int(std::count(e.board().begin(), e.board().end(), colour));
    }
    std::unique_ptr<Random> random;
};

} // namespace

TEST_F(Stack4Test, DiscsStackAndEachDropIsPacedAndHinted)
{
    auto e = make();
    QList<Stack4FallAnimation> hints;
    QObject::connect(e.get(), &Stack4Engine::fallTravelChanged, [&] { hints.append(e->fallAnimation()); });
    const qint64 t0 = clock.monotonicMs();
    e->drop(4);
    EXPECT_EQ(e->board()[24], r); // in the board at once
    EXPECT_DOUBLE_EQ(e->fallTravel(), 192);
    scheduler->advance(20 + 410 + 20 + 90 + 79);
    EXPECT_TRUE(e->busy());
    scheduler->advance(1);
    EXPECT_EQ(clock.monotonicMs() - t0, 620);
    EXPECT_FALSE(e->fallingIndex().has_value());
    EXPECT_FALSE(e->busy());
    EXPECT_EQ(hints, (QList<Stack4FallAnimation>{Stack4FallAnimation::none(), Stack4FallAnimation::easeIn(0.41),
                                                  Stack4FallAnimation::spring(0.22, 0.52),
                                                  Stack4FallAnimation::spring(0.18, 0.72)}));
    EXPECT_EQ(Stack4Engine::dropDurationMs(5), 370);

    for (int i = 1; i < 6; ++i) {
        e->drop(4);
        EXPECT_EQ(e->fallingIndex(), 24 + i);
        scheduler->advance(1000);
    }
    e->drop(4); // full
    e->drop(7);
    EXPECT_FALSE(e->busy());
    EXPECT_EQ(discs(*e, r) + discs(*e, b), 6);
}

TEST_F(Stack4Test, ComputerTurnKeepsTheBoardBusyUntilItsDiscLands)
{
    const std::pair<L, int> waits[] = {{L::easy, 380}, {L::medium, 240}, {L::hard, 120}};
    for (const auto &[level, wait] : waits) {
        auto e = make(1, ArcadeVersus::npc(level));
        e->drop(0);
        scheduler->advance(620 + wait - 1);
        EXPECT_FALSE(e->redTurn());
        e->dropAtCursor(); // Space during the computer's turn does nothing…
        e->moveCursor(+10); // …but the cursor moves
        EXPECT_EQ(e->cursor(), 6);
        EXPECT_EQ(discs(*e, r), 1);
        scheduler->advance(1);
        ASSERT_EQ(discs(*e, b), 1);
        scheduler->advance(Stack4Engine::dropDurationMs(*e->fallingIndex() % 6) - 1);
        EXPECT_TRUE(e->busy());
        EXPECT_FALSE(e->redTurn());
        scheduler->advance(1);
        EXPECT_FALSE(e->busy());
        EXPECT_TRUE(e->redTurn());
    }
}

TEST_F(Stack4Test, ComputerChoicesByLevel)
{
    auto choose = [&](L level, std::uint64_t seed, const Board &board) {
        auto e = make(seed);
        e->setBoard(board);
        return e->npcChooseColumn(level);
    };
    // Blue wins in column 5 at every level.
    const Board win = boardOf({{2, r}, {5, b}, {3, r}, {5, b}, {0, r}, {5, b}});
    for (L level : allNPCLevels)
        EXPECT_EQ(choose(level, 99, win), 5);
    // Red threatens columns 0 and 4: medium always blocks, easy with p < 0.35
    // after drawing its fallback (here column 6) first.
    const Board threat = boardOf({{1, r}, {6, b}, {2, r}, {6, b}, {3, r}, {5, b}});
    for (std::uint64_t seed = 1; seed < 10; ++seed)
        EXPECT_EQ(choose(L::medium, seed, threat), 0);
    EXPECT_EQ(choose(L::easy, seedWhere([](Random &x) { return x.below(7) == 6 && closedUnit(x) < 0.35; }), threat), 0);
    EXPECT_EQ(choose(L::easy, seedWhere([](Random &x) { return x.below(7) == 6 && closedUnit(x) >= 0.35; }), threat), 6);
    EXPECT_TRUE(Stack4Engine::bestColumn(threat) == 0 || Stack4Engine::bestColumn(threat) == 4);
    // With column 3 full, medium's central pick is column 2 (p < 0.7).
    const Board full3 = boardOf({{3, r}, {3, b}, {3, r}, {3, b}, {3, r}, {3, b}});
    EXPECT_EQ(choose(L::medium, seedWhere([](Random &x) { return x.below(6) == 5 && closedUnit(x) < 0.7; }), full3), 2);
    EXPECT_EQ(choose(L::medium, seedWhere([](Random &x) { return x.below(6) == 5 && closedUnit(x) >= 0.7; }), full3), 6);
}

TEST(Stack4RulesTest, LinesWinnersAndScores)
{
    // Five along the bottom: from column 2 the line walks left first, four cells.
    EXPECT_EQ(Stack4Engine::lineCells(boardOf({{0, r}, {1, r}, {2, r}, {3, r}, {4, r}}), 12),
              (QList<int>{12, 6, 0, 18}));
    // A row and a column through one disc: the row is reported.
    EXPECT_EQ(Stack4Engine::lineCells(boardOf({{0, r}, {1, r}, {2, r}, {3, r}, {3, r}, {3, r}, {3, r}}), 18),
              (QList<int>{18, 12, 6, 0}));
    Board rising = boardOf({}), falling = boardOf({});
    for (int k = 0; k < 4; ++k) {
        rising[k * 6 + k] = b;
        falling[k * 6 + 3 - k] = b;
    }
    EXPECT_EQ(Stack4Engine::lineCells(rising, 0), (QList<int>{0, 7, 14, 21}));
    EXPECT_EQ(Stack4Engine::lineCells(falling, 3), (QList<int>{3, 8, 13, 18}));
    EXPECT_FALSE(Stack4Engine::lineCells(rising, 1).has_value());

    Board both = boardOf({{0, b}, {1, b}, {2, b}, {3, b}, {0, r}, {1, r}, {2, r}, {3, r}});
    EXPECT_EQ(Stack4Engine::lineWinner(both), r); // red is tested first
    EXPECT_EQ(Stack4Engine::lineWinner(drawnBoard()), Slot::empty);
    EXPECT_EQ(Stack4Engine::centreScore(boardOf({{3, b}, {0, r}, {6, r}, {2, b}, {5, r}})), 3 + 2 - 1);
    EXPECT_EQ(Stack4Engine::minimax(boardOf({{0, b}, {0, b}, {0, b}, {0, b}}), 3, false,
                                    Stack4Engine::ScoreFloor, Stack4Engine::ScoreCeiling), 10003);
    EXPECT_FALSE(Stack4Engine::bestColumn(drawnBoard()).has_value());
}

TEST_F(Stack4Test, EndingsAndCountedWins)
{
    Board board = drawnBoard();
    board[11] = Slot::empty; // the 42nd disc, red's, makes no line
    auto e = make();
    e->setBoard(board);
    e->drop(1);
    scheduler->advance(1000);
    EXPECT_EQ(e->phase(), Phase::over);
    EXPECT_EQ(e->winner(), Slot::empty);

    const Board redThree = boardOf({{0, r}, {0, b}, {1, r}, {1, b}, {2, r}, {2, b}});
    for (bool local : {true, false}) {
        e = make(1, local ? ArcadeVersus::local() : ArcadeVersus::npc(L::hard));
        e->setBoard(redThree);
        e->drop(3);
        scheduler->advance(1000);
        EXPECT_EQ(e->winCells(), (QList<int>{18, 12, 6, 0}));
        EXPECT_EQ(e->wins(), local ? 0 : 1);
    }
    EXPECT_EQ(make()->wins(), 1);
}

TEST_F(Stack4Test, StopMidFallKeepsTheDiscAndClearsTheAnimation)
{
    auto e = make();
    e->drop(3);
    scheduler->advance(200);
    e->stop();
    EXPECT_EQ(e->board()[18], r);
    EXPECT_FALSE(e->fallingIndex().has_value());
    EXPECT_DOUBLE_EQ(e->fallTravel(), 0);
    EXPECT_FALSE(e->busy());
    scheduler->advance(2000);
    EXPECT_TRUE(e->redTurn()); // the turn was never finished
    EXPECT_EQ(scheduler->pendingCount(), 0);
}

TEST_F(Stack4Test, DigitKeysLightTheirColumnPastTheHowTo)
{
    auto key = [](int code) {
        KeyInput input;
        input.keyCode = code;
        return input;
    };
    const struct {
        Phase phase;
        bool busy;
        int code;
        bool handled;
        int cursor;
    } rows[] = {
        {Phase::playing, false, KeyCode::Digit5, true, 4},
        {Phase::playing, true, KeyCode::Digit7, true, 6}, // the computer's turn: lit, not dropped
        {Phase::over, false, KeyCode::Digit1, true, 0},
        {Phase::over, false, KeyCode::Digit6, true, 5},
        {Phase::howto, false, KeyCode::Digit2, false, 3},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(int(row.code));
        auto e = make(1, ArcadeVersus::npc(L::easy));
        const Board before = e->board();
        if (row.busy) {
            e->drop(0);
            scheduler->advance(50); // the disc is still falling
            ASSERT_TRUE(e->busy());
        }
        const Board start = e->board();
        e->setPhase(row.phase);
        EXPECT_EQ(e->handleKey(key(row.code)), row.handled);
        EXPECT_EQ(e->cursor(), row.cursor);
        if (row.phase != Phase::playing || row.busy)
            EXPECT_EQ(e->board(), start) << "only a live board takes a drop";
        else
            EXPECT_NE(e->board(), before);
    }
}
