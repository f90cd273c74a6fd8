#include "actiontest.h"
#include "games/action/snakeengine.h"

namespace {

using Points = std::vector<SnakePoint>;

class SnakeTest : public ActionTest {
protected:
    std::unique_ptr<SnakeEngine> running()
    {
        auto e = opened<SnakeEngine>();
        e->start();
        return e;
    }
};

} // namespace

TEST_F(SnakeTest, TurnsAreCheckedAgainstTheHeadingInForce)
{
    auto e = running();
    e->turn(SnakeDir::left); // straight back: ignored
    EXPECT_FALSE(e->queued().has_value());
    e->turn(SnakeDir::down);
    e->turn(SnakeDir::up); // replaces the queued turn
    EXPECT_EQ(e->queued(), SnakeDir::up);
    e->turn(SnakeDir::left); // would run into the neck after Up: refused
    EXPECT_EQ(e->queued(), SnakeDir::up);
    e->step();
    EXPECT_EQ(e->snake().front(), (SnakePoint{4, 4}));
}

TEST_F(SnakeTest, AKeyAfterAGameStartsARunThatWay)
{
    // Left is taken as right: the body lies left of the head.
    for (auto [key, head] : std::initializer_list<std::pair<SnakeDir, SnakePoint>>{
             {SnakeDir::left, {5, 5}}, {SnakeDir::up, {4, 4}}, {SnakeDir::down, {4, 6}}}) {
        auto e = running();
        e->gameOver();
        e->turn(key);
        scheduler->advance(160);
        EXPECT_EQ(e->snake().front(), head);
    }
    auto e = make<SnakeEngine>();
    e->turn(SnakeDir::up); // keys do nothing on the how-to card
    EXPECT_EQ(e->phase(), SnakeEngine::Phase::howto);
}

TEST_F(SnakeTest, WallsAndTheTailEndTheRun)
{
    struct Case {
        Points body;
        std::vector<SnakeDir> turns;
    };
    const Case cases[] = {
        {{{16, 5}, {15, 5}, {14, 5}}, {}},
        {{{4, 0}, {3, 0}, {2, 0}}, {SnakeDir::up}},
        {{{4, 10}, {3, 10}, {2, 10}}, {SnakeDir::down}},
        {{{0, 3}, {1, 3}, {2, 3}}, {SnakeDir::up, SnakeDir::left}},
        // The tail's cell counts even though the tail would move on.
        {{{4, 5}, {5, 5}, {5, 4}, {4, 4}}, {SnakeDir::up}},
    };
    for (const Case &c : cases) {
        auto e = running();
        e->setBoard(c.body, SnakePoint{16, 10});
        for (SnakeDir d : c.turns) {
            e->turn(d);
            e->step();
        }
        if (c.turns.empty())
            e->step();
        EXPECT_EQ(e->phase(), SnakeEngine::Phase::over) << c.body.front().x << "," << c.body.front().y;
        EXPECT_FALSE(e->isTicking());
    }
}

TEST_F(SnakeTest, ApplesGrowTheSnakeAndTheBestIsKeptAtOnce)
{
    defaults->setInt("pavlet.snakeBest", 0);
    auto e = running();
    e->setBoard(SnakeEngine::startBody(), SnakePoint{5, 5});
    e->step();
    EXPECT_EQ(e->score(), 1);
    EXPECT_EQ(e->snake().size(), 4u);
    EXPECT_EQ(defaults->intValue("pavlet.snakeBest"), 1);
    EXPECT_EQ(e->cells()[5 * 17 + 5], int(SnakeEngine::Head));
    EXPECT_EQ(e->cells().count(int(SnakeEngine::Apple)), 1);

    // The new gap takes effect at once: the next step comes 156 ms later.
    scheduler->advance(155);
    EXPECT_EQ(e->snake().front(), (SnakePoint{5, 5}));
    scheduler->advance(1);
    EXPECT_EQ(e->snake().front(), (SnakePoint{6, 5}));

    EXPECT_NEAR(SnakeEngine::gapForScore(22), 0.072, 1e-12);
    EXPECT_EQ(SnakeEngine::gapForScore(23), 0.07);
}

TEST_F(SnakeTest, ApplesOnlyLandOnFreeCells)
{
    auto e = running();
    Points all;
    for (qint64 y = 0; y < SnakeEngine::Rows; ++y)
        for (qint64 x = 0; x < SnakeEngine::Columns; ++x)
            all.push_back({x, y});
    Points allButOne = all;
    allButOne.erase(allButOne.begin() + 40);
    e->setBoard(allButOne, SnakePoint{0, 0});
    EXPECT_EQ(e->spawnApple(), all[40]);
    e->setBoard(all, SnakePoint{0, 0});
    EXPECT_EQ(e->spawnApple(), SnakeEngine::fallbackApple());
}

TEST_F(SnakeTest, ResetMidRunAndResumeAfterLeaving)
{
    defaults->setInt("pavlet.snakeBest", 9);
    auto e = running();
    e->setBoard(SnakeEngine::startBody(), SnakePoint{16, 10});
    scheduler->advance(480);
    EXPECT_EQ(e->snake().front(), (SnakePoint{7, 5}));

    // Left mid-run and shown again: Space picks the run up.
    e->stopTimer();
    e->start();
    scheduler->advance(160);
    EXPECT_EQ(e->snake().front(), (SnakePoint{8, 5}));

    e->reset();
    EXPECT_FALSE(e->isTicking());
    EXPECT_EQ(e->snake(), SnakeEngine::startBody());
    EXPECT_EQ(e->best(), 9);
}
