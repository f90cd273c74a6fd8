#include "actiontest.h"
#include "games/action/blocksengine.h"

#include <QSet>

namespace {

using Piece = BlocksEngine::Piece;
using Board = BlocksEngine::Board;

QList<QPoint> pts(std::initializer_list<std::pair<int, int>> cells)
{
    QList<QPoint> out;
    for (auto [x, y] : cells)
        out.append(QPoint(x, y));
    return out;
}

// Rows filled with one kind, leaving the given columns empty.
void fillRows(Board &board, int from, int to, QSet<int> gaps)
{
    for (int r = from; r <= to; ++r)
        for (int c = 0; c < BlocksEngine::Cols; ++c)
            if (!gaps.contains(c))
                board[size_t(r)][size_t(c)] = BlockKind::z;
}

class BlocksTest : public ActionTest {
protected:
    // A running game on the given board with the given falling piece.
    std::unique_ptr<BlocksEngine> running(const Board &board, Piece piece)
    {
        auto e = opened<BlocksEngine>();
        e->begin();
        e->setBoard(board);
        e->setActive(piece);
        return e;
    }
};

} // namespace

TEST_F(BlocksTest, FirstSevenPiecesOfAGameAreSevenKinds)
{
    for (std::uint64_t seed : {1u, 2u, 3u, 99u}) {
        random.seed(seed);
        auto e = opened<BlocksEngine>();
        e->begin();
        QSet<int> kinds;
        for (int n = 0; n < 7; ++n) {
            EXPECT_EQ(e->active()->col, 3);
            kinds.insert(e->activeKind());
            e->hardDrop();
        }
        EXPECT_EQ(kinds.size(), 7) << "seed " << seed;
    }
}

TEST_F(BlocksTest, TurnsKickSidewaysOnly)
{
    auto e = running(Board{}, Piece{BlockKind::i, 1, -2, 5});
    e->rotate();
    EXPECT_EQ(*e->active(), (Piece{BlockKind::i, 2, 0, 5}));
    EXPECT_EQ(e->activeCells(), pts({{0, 7}, {1, 7}, {2, 7}, {3, 7}}));

    // A flat bar on the floor has no room to stand up, whatever the shift.
    const Piece flat{BlockKind::i, 0, 3, 14};
    e->setActive(flat);
    e->rotate();
    EXPECT_EQ(*e->active(), flat);
}

TEST_F(BlocksTest, DropPoints)
{
    auto e = running(Board{}, Piece{BlockKind::o, 0, 3, 0});
    e->softDrop();
    e->softDrop();
    EXPECT_EQ(e->score(), 2);
    EXPECT_EQ(e->active()->row, 2);
    e->hardDrop(); // rests at row 14: 12 rows
    EXPECT_EQ(e->score(), 2 + 24);

    // A soft drop on a resting piece settles it without a point.
    e->setActive(Piece{BlockKind::o, 0, 6, 14});
    const int before = e->score();
    e->softDrop();
    EXPECT_EQ(e->score(), before);
    EXPECT_EQ(e->board()[15][7], BlockKind::o);
}

TEST_F(BlocksTest, ClearingRowsScoresAndShiftsTheRest)
{
    Board board{};
    fillRows(board, 14, 15, {4, 5});
    board[13][0] = BlockKind::t;
    auto e = running(board, Piece{BlockKind::o, 0, 3, 12}); // rests two rows lower
    e->hardDrop();
    EXPECT_EQ(e->lines(), 2);
    EXPECT_EQ(e->score(), 4 + 300);
    EXPECT_EQ(e->boardList().mid(150), QList<int>({int(BlockKind::t), -1, -1, -1, -1, -1, -1, -1, -1, -1}));

    Board four{};
    fillRows(four, 12, 15, {9});
    auto f = running(four, Piece{BlockKind::i, 1, 7, 0}); // upright bar down column 9
    f->hardDrop();
    EXPECT_EQ(f->lines(), 4);
    EXPECT_EQ(f->score(), 24 + 800);
    EXPECT_EQ(f->boardList(), QList<int>(160, -1));
}

TEST_F(BlocksTest, GravityFollowsClearedLinesAndLongPausesAreCapped)
{
    EXPECT_NEAR(BlocksEngine::fallInterval(17), 0.125, 1e-12);
    EXPECT_DOUBLE_EQ(BlocksEngine::fallInterval(18), 0.12);

    auto e = running(Board{}, Piece{BlockKind::t, 0, 3, 0});
    e->advance(2.0);
    EXPECT_NEAR(e->dropIn(), 0.72 - 0.05, 1e-12);
    EXPECT_EQ(e->active()->row, 0);
    e->advance(-1); // non-positive steps do nothing
    frames(*e, 14, 0.05); // one gravity step per countdown, never more
    EXPECT_EQ(e->active()->row, 1);
}

TEST_F(BlocksTest, BlockedSpawnEndsTheGameAndKeepsTheBestHonest)
{
    Board board{};
    board[1][4] = BlockKind::j; // every kind spawns over this cell
    auto e = running(board, Piece{BlockKind::o, 0, -1, 10});
    e->hardDrop(); // 4 rows: 8 points, then the next spawn is blocked
    EXPECT_EQ(e->phase(), BlocksEngine::Phase::over);
    EXPECT_FALSE(e->isTicking());
    ASSERT_TRUE(e->active().has_value());
    EXPECT_EQ(e->active()->col, 3);
    EXPECT_EQ(e->best(), 8);
    EXPECT_EQ(defaults->intValue("pavlet.blocksBest"), 8);

    // Keys do nothing once over; a tap restarts with the preview first.
    const auto blocked = e->active();
    e->move(1);
    e->hardDrop();
    EXPECT_EQ(e->active(), blocked);
    const BlockKind preview = e->nextKind();
    e->tap();
    EXPECT_EQ(e->phase(), BlocksEngine::Phase::running);
    EXPECT_EQ(e->activeKind(), int(preview));
    EXPECT_EQ(e->score(), 0);
    EXPECT_EQ(e->boardList(), QList<int>(160, -1));

    // An equal score is no new best and writes nothing.
    written.clear();
    auto again = running(board, Piece{BlockKind::o, 0, -1, 10});
    EXPECT_EQ(again->best(), 8);
    again->hardDrop();
    EXPECT_EQ(again->phase(), BlocksEngine::Phase::over);
    EXPECT_FALSE(written.contains("pavlet.blocksBest"));
}

TEST_F(BlocksTest, ShadowMarksTheLandingRowWhileRunning)
{
    Board board{};
    board[10][4] = BlockKind::s;
    auto e = running(board, Piece{BlockKind::o, 0, 3, 0}); // cells in columns 4 and 5
    EXPECT_EQ(e->shadowCells(), pts({{4, 8}, {5, 8}, {4, 9}, {5, 9}}));
}
